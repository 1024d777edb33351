#include "CommandLine.h"
#include "TApplication.h"
#include "TmainFm.h"
#include "Translations.h"
#include "gui/pU_Boxes.h"
#include "platform/SingleInstance.h"

#include <QDir>

int main(int argc, char** argv) {
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
    QObject::connect(&mainFm, &TmainFm::exited, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    mainFm.show();
    return app.exec();
}
