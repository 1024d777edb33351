// tasquel-mkdb FOLDER: writes FOLDER/zvData.zvb with empty tables, unless
// the file is already there.
#include "platform/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tasquel-mkdb FOLDER\n");
        return 2;
    }
    const QString path = QDir(args.at(1)).absoluteFilePath(QLatin1String(Database::FileName));
    if (QFileInfo::exists(path)) {
        std::printf("%s exists; left unchanged.\n", qPrintable(path));
        return 0;
    }
    try {
        QDir().mkpath(args.at(1));
        Database::createEmpty(path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("Created %s.\n", qPrintable(path));
    return 0;
}
