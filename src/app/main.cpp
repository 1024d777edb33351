#include "CommandLine.h"
#include "TApplication.h"
#include "TmainFm.h"
#include "Translations.h"
#include "gui/pU_Boxes.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <sys/prctl.h>
#include <sys/resource.h>

int main(int argc, char** argv) {
    // A crash leaves no image of memory behind: it would hold the tasks,
    // the sync password and the database key.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const auto status = CommandLine::Answer(arguments))
        return *status;
    TApplication app(argc, argv);
    LoadTranslations();
    SingleInstance instance(AppTitle());
    if (!instance.claim())
        return 0; // the running copy has come forward
    TmainFm mainFm(ProgramFolders::ForExecutable(QCoreApplication::applicationDirPath()),
                   &instance);
    if (mainFm.refused())
        return 0;
    QObject::connect(&mainFm, &TmainFm::exited, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    mainFm.show();
    return app.exec();
}
