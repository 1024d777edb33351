#include "TApplication.h"
#include "TcommonDm.h"
#include "TmainFm.h"
#include "io/TIoDm.h"
#include "gui/pU_Boxes.h"
#include "platform/SingleInstance.h"

#include <QDir>

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    SingleInstance instance(AppTitle());
    if (!instance.claim())
        return 0; // the running copy has come forward
    TmainFm mainFm(QDir(QCoreApplication::applicationDirPath()).absolutePath() + u'/', &instance);
    TIoDm io(&mainFm);
    TcommonDm common(&mainFm);
    mainFm.setModules(&io, &common);
    QObject::connect(&instance, &SingleInstance::activationRequested, &mainFm,
                     &TmainFm::BringForward);
    QObject::connect(&mainFm, &TmainFm::exited, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    mainFm.show();
    return app.exec();
}
