// The iCalendar reader and import: libical's parse, the mapping and the
// parent rules. Input: the bytes of an .ics file.
#include "FuzzSupport.h"
#include "core/ICalendar.h"
#include "core/ICalendarImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Database& db = fuzz::TaskDatabase();
    fuzz::ResetTasks(db);
    const QString file = fuzz::WriteInput("import.ics", data, size);
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    size_t read = 0;
    try {
        // What is read is written again and reads back as as many tasks.
        const auto tasks = ICalendar::ReadCalendar(bytes, 46000);
        read = tasks.size();
        std::vector<ICalendar::Entry> entries;
        for (const auto& t : tasks)
            entries.push_back({&t.info, t.parentUid});
        if (ICalendar::ReadCalendar(ICalendar::WriteCalendar(entries, "1"), 46000).size() != read)
            __builtin_trap();
    } catch (const ICalendar::NotCalendarError&) {
    }
    try {
        const auto r = ICalendar::ImportFile(db, file, 46000);
        if (size_t(r.added + r.updated + r.skipped) != read)
            __builtin_trap();
    } catch (const ICalendar::NotCalendarError&) {
    } catch (const DbError&) {
    }
    // The stored rows are there, two levels at most, no transaction open.
    Query q(db);
    OpenQuery(q, QStringLiteral("select count(*) from tasks where tid in ('{1}', '{2}')"));
    if (q.integer(0) != 2)
        __builtin_trap();
    OpenQuery(q, QStringLiteral("select count(*) from tasks where pid<>'root' and pid in"
                                " (select tid from tasks where pid<>'root')"));
    if (q.integer(0) != 0)
        __builtin_trap();
    q.close();
    db.exec(QStringLiteral("begin; commit;"));
    return 0;
}
