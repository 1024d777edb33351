// One sync of a program folder, for the tests that kill it half-way:
//   sync_child FOLDER ADDRESS USER PASSWORD
#include "platform/Database.h"
#include "sync/SyncEngine.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 5)
        return 2;
    const QStringList a = app.arguments();
    Database db;
    db.open(a[1]);
    SyncEngine engine(db, a[1] + QStringLiteral("Backups"), QStringLiteral("1"));
    QObject::connect(&engine, &SyncEngine::finished, [](const SyncResult& r) {
        std::puts(qPrintable(r.text()));
        QCoreApplication::exit(r.ok ? 0 : 1);
    });
    engine.start({a[2], a[3], a[4]});
    return app.exec();
}
