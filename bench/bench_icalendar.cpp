// iCalendar export and import of every task, beside libical doing the same
// work on its own.
#include "Bench.h"

#include "core/ICalendar.h"
#include "core/ICalendarImport.h"
#include "core/TaskTreeModel.h"
#include "gui/AppContext.h"
#include "platform/Database.h"
#include "platform/FileWriter.h"

#include <QDir>
#include <QFile>
#include <libical/ical.h>
#include <sqlite3.h>

namespace {

std::unique_ptr<Program> g_program;

Program& program() {
    if (!g_program)
        g_program = std::make_unique<Program>();
    return *g_program;
}

QString icsFile() {
    return g_scratch->filePath(QStringLiteral("bench.ics"));
}

QByteArray readIcs() {
    QFile f(icsFile());
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

void BM_IcsExport(benchmark::State& s) {
    Program& p = program();
    for (auto _ : s)
        p.frame->ExportCalendar(icsFile());
}

// The components made beforehand: libical serialising them and the file
// written.
void BM_IcsExport_Floor(benchmark::State& s) {
    ICalendar::Component cal = ICalendar::Parse(readIcs());
    for (auto _ : s) {
        char* text = icalcomponent_as_ical_string_r(cal.get());
        const bool ok =
            FileWriter::TryWrite(icsFile() + QStringLiteral(".floor"),
                                 QByteArray::fromRawData(text, qsizetype(strlen(text))));
        icalmemory_free_buffer(text);
        benchmark::DoNotOptimize(ok);
    }
}

void BM_IcsImport(benchmark::State& s) {
    for (auto _ : s) {
        s.PauseTiming();
        Database db;
        db.open(EmptyFolder("ics"));
        s.ResumeTiming();
        ICalendar::ImportFile(db, icsFile(), Clock::Now());
    }
}

// libical parsing the file and the same number of rows inserted in one
// transaction, as the restore's floor does: an import that wrote nothing
// would not be one.
void BM_IcsImport_Floor(benchmark::State& s) {
    for (auto _ : s) {
        s.PauseTiming();
        Database db;
        db.open(EmptyFolder("ics"));
        s.ResumeTiming();
        ICalendar::Component cal = ICalendar::Parse(readIcs());
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db.handle(),
                           "insert into tasks (tid,pid,content,checkFlag,dueFlag,alarmFlag,"
                           "expandFlag,textColor,backgroundColor,createTime,editTime) values "
                           "(?,'root',?,0,0,0,0,0,0,46000,46000)",
                           -1, &st, nullptr);
        sqlite3_exec(db.handle(), "begin", nullptr, nullptr, nullptr);
        for (icalcomponent* t = icalcomponent_get_first_component(cal.get(), ICAL_VTODO_COMPONENT);
             t; t = icalcomponent_get_next_component(cal.get(), ICAL_VTODO_COMPONENT)) {
            sqlite3_bind_text(st, 1, icalcomponent_get_uid(t), -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 2, icalcomponent_get_summary(t), -1, SQLITE_STATIC);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_exec(db.handle(), "commit", nullptr, nullptr, nullptr);
        sqlite3_finalize(st);
    }
}

void ReleaseCalendarBenches() {
    g_program.reset();
}
