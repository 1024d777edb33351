// Restore of an interchange file into a task database. The input is the
// XML; the harness packs it into the container, so the fuzzer works on the
// structure rather than on compressed bytes.
#include "FuzzSupport.h"
#include "core/Interchange.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Database& db = fuzz::TaskDatabase();
    fuzz::ResetTasks(db);
    const QString file = fuzz::WriteContainer("restore.zvx", data, size);
    int asked = 0;
    const auto ask = [&asked](const Interchange::ReplaceQuestion&) {
        // Every answer in turn, Abort last.
        static const Interchange::Answer answers[] = {
            Interchange::Answer::Yes, Interchange::Answer::No, Interchange::Answer::Closed,
            Interchange::Answer::All, Interchange::Answer::Abort};
        return answers[std::min(asked++, 4)];
    };
    int boxes = 0;
    try {
        Interchange::RestoreFromFile(db, file, ask, [&boxes](const QString&) { ++boxes; });
    } catch (const DbError&) {
        // Reaches the general error display in the program.
    }
    // Restore adds or replaces, never deletes; it never leaves a
    // transaction open behind it; and one command shows at most a few boxes.
    if (fuzz::CountRows(db) < 2 || boxes > 4)
        __builtin_trap();
    db.exec(QStringLiteral("begin; commit;"));
    return 0;
}
