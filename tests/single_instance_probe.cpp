// A second start for the single-instance test: exits 0 when it became the
// running copy (and then stays until killed when asked), 3 when another copy
// answered.
#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    SingleInstance instance(args.at(1), args.at(2));
    if (!instance.claim())
        return 3;
    std::printf("owner\n");
    std::fflush(stdout);
    if (args.size() > 3 && args.at(3) == QLatin1String("stay"))
        return app.exec();
    return 0;
}
