// tasquel-lsdb FOLDER: prints the text of every task in FOLDER/zvData.zvb,
// one line each (line breaks as \n), in the order stored. Reads only.
#include "platform/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tasquel-lsdb FOLDER\n");
        return 2;
    }
    try {
        Database db;
        db.open(QDir(args.at(1)).absolutePath() + u'/');
        Query q(db);
        for (OpenQuery(q, QStringLiteral("select content from tasks")); !q.eof(); q.next())
            std::printf("%s\n", qPrintable(q.text(0).replace(u'\n', QStringLiteral("\\n"))));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
