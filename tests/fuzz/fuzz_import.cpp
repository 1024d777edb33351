// Import of an interchange file: every record under a new id. Input as for
// the restore target: the XML, packed by the harness.
#include "FuzzSupport.h"
#include "core/Interchange.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Database& db = fuzz::TaskDatabase();
    fuzz::ResetTasks(db);
    const QString file = fuzz::WriteContainer("import.zvx", data, size);
    int boxes = 0;
    try {
        Interchange::ImportFromFile(db, file, [&boxes](const QString&) { ++boxes; });
    } catch (const DbError&) {
    }
    // The rows stored before are all there; no transaction is left open.
    if (fuzz::CountRows(db) < 2 || boxes > 4)
        __builtin_trap();
    Query q(db);
    OpenQuery(q, QStringLiteral("select count(*) from tasks where tid in ('{1}', '{2}')"));
    if (q.integer(0) != 2)
        __builtin_trap();
    q.close();
    db.exec(QStringLiteral("begin; commit;"));
    return 0;
}
