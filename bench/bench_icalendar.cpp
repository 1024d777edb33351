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

// The export's file, read by the import figures and the floors: made once
// when a run of them starts without the export's own figure.
QString writtenIcs() {
    if (!QFile::exists(icsFile()))
        program().frame->ExportCalendar(icsFile());
    return icsFile();
}

QByteArray readIcs() {
    QFile f(writtenIcs());
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

void BM_IcsExport(benchmark::State& s) {
    Program& p = program();
    for (auto _ : s)
        p.frame->ExportCalendar(icsFile());
}

namespace {

// What one component of the exported file holds, its values ready in
// libical's own form.
struct Made {
    icalcomponent_kind kind;
    struct Property {
        icalproperty_kind kind;
        const char* xName;
        icalvalue* value;
        std::vector<icalparameter*> parameters;
    };
    std::vector<Property> properties;
    std::vector<Made> components;
};

Made plan(icalcomponent* c) {
    Made m{icalcomponent_isa(c), {}, {}};
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_ANY_PROPERTY)) {
        Made::Property made{
            icalproperty_isa(p), icalproperty_get_x_name(p), icalproperty_get_value(p), {}};
        for (icalparameter* a = icalproperty_get_first_parameter(p, ICAL_ANY_PARAMETER); a;
             a = icalproperty_get_next_parameter(p, ICAL_ANY_PARAMETER))
            made.parameters.push_back(a);
        m.properties.push_back(std::move(made));
    }
    for (icalcomponent* k = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); k;
         k = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
        m.components.push_back(plan(k));
    return m;
}

// Every property made by libical from its value, as the export makes it.
icalcomponent* build(const Made& m) {
    icalcomponent* c = icalcomponent_new(m.kind);
    for (const Made::Property& p : m.properties) {
        icalproperty* made = icalproperty_new(p.kind);
        if (p.kind == ICAL_X_PROPERTY)
            icalproperty_set_x_name(made, p.xName);
        icalproperty_set_value(made, icalvalue_new_clone(p.value));
        for (icalparameter* a : p.parameters)
            icalproperty_add_parameter(made, icalparameter_new_clone(a));
        icalcomponent_add_property(c, made);
    }
    for (const Made& k : m.components)
        icalcomponent_add_component(c, build(k));
    return c;
}

} // namespace

// libical building the same components, property by property from values
// it holds already, serialising them and the file written.
void BM_IcsExport_Floor(benchmark::State& s) {
    ICalendar::Component file = ICalendar::Parse(readIcs());
    const Made made = plan(file.get());
    for (auto _ : s) {
        ICalendar::Component cal(build(made));
        char* text = icalcomponent_as_ical_string_r(cal.get());
        const bool ok =
            FileWriter::TryWrite(icsFile() + QStringLiteral(".floor"),
                                 QByteArray::fromRawData(text, qsizetype(strlen(text))));
        icalmemory_free_buffer(text);
        benchmark::DoNotOptimize(ok);
    }
}

void BM_IcsImport(benchmark::State& s) {
    const QString file = writtenIcs();
    for (auto _ : s) {
        s.PauseTiming();
        Database db;
        db.open(EmptyFolder("ics"));
        s.ResumeTiming();
        ICalendar::ImportFile(db, file, Clock::Now());
    }
}

// libical parsing the file, and the very rows the import writes inserted in
// one transaction, every column bound, as the restore's floor does: an
// import that wrote nothing would not be one.
void BM_IcsImport_Floor(benchmark::State& s) {
    std::vector<std::vector<QByteArray>> rows; // each column as its text; null stays null
    {
        Database db;
        db.open(EmptyFolder("ics"));
        ICalendar::ImportFile(db, writtenIcs(), Clock::Now());
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db.handle(), "select * from tasks", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            auto& row = rows.emplace_back();
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                row.push_back(
                    sqlite3_column_type(st, i) == SQLITE_NULL
                        ? QByteArray()
                        : QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                     sqlite3_column_bytes(st, i)));
        }
        sqlite3_finalize(st);
    }
    for (auto _ : s) {
        s.PauseTiming();
        Database db;
        db.open(EmptyFolder("ics"));
        s.ResumeTiming();
        ICalendar::Component cal = ICalendar::Parse(readIcs());
        benchmark::DoNotOptimize(cal.get());
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db.handle(), "insert into tasks values (?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                           -1, &st, nullptr);
        sqlite3_exec(db.handle(), "begin", nullptr, nullptr, nullptr);
        for (const auto& row : rows) {
            for (int i = 0; i < int(row.size()); ++i)
                if (row[i].isNull())
                    sqlite3_bind_null(st, i + 1);
                else
                    sqlite3_bind_text(st, i + 1, row[i].constData(), int(row[i].size()),
                                      SQLITE_STATIC);
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
