// Commands on many selected rows beside one statement doing the same.
#include "Bench.h"

#include "core/TaskTreeModel.h"
#include "gui/AppContext.h"
#include "platform/Database.h"

#include <QAction>
#include <QDir>
#include <QFile>

namespace {

// A copy of the generated folder for a command that empties it.
QString copyOfFolder() {
    static int n = 0;
    const QString dir = g_scratch->filePath(QStringLiteral("copy%1/").arg(++n));
    QDir().mkpath(dir);
    for (const QString& name : QDir(g_folder).entryList(QDir::Files))
        QFile::copy(g_folder + name, dir + name);
    for (const char* sub : {"Images", "Sounds"}) {
        QDir().mkpath(dir + QLatin1String(sub));
        const QString from = g_folder + QLatin1String(sub) + u'/';
        for (const QString& name : QDir(from).entryList(QDir::Files))
            QFile::copy(from + name, dir + QLatin1String(sub) + u'/' + name);
    }
    return dir;
}

// Every top-level task selected, with its sub-tasks, on a fresh copy.
template <typename Fn> void onEveryTask(benchmark::State& s, Fn run) {
    for (auto _ : s) {
        s.PauseTiming();
        auto p = std::make_unique<Program>(true, copyOfFolder());
        p->frame->Action_SelectAll->trigger();
        s.ResumeTiming();
        run(*p);
        s.PauseTiming();
        p.reset();
        s.ResumeTiming();
    }
}

// The first 500 rows of the shared folder.
std::vector<TaskNode*> burst(Program& p) {
    std::vector<TaskNode*> nodes;
    for (TaskNode* n : p.frame->model()->flatNodes())
        if (nodes.size() < 500)
            nodes.push_back(n);
    return nodes;
}

std::unique_ptr<Program> g_burst;

Program& burstProgram() {
    if (!g_burst)
        g_burst = std::make_unique<Program>(true, copyOfFolder());
    return *g_burst;
}

} // namespace

void BM_DeleteAll(benchmark::State& s) {
    onEveryTask(s, [](Program& p) { p.frame->Action_TaskDelete->trigger(); });
}

void BM_DeleteAll_Floor(benchmark::State& s) {
    onEveryTask(s, [](Program& p) {
        // Sub-tasks first: in one statement with an "or", the engine reads
        // the parents' ids after it has deleted them and leaves the rest.
        p.main->context().db.exec(
            QStringLiteral("begin; delete from tasks where pid in (select tid from tasks where "
                           "pid='root'); delete from tasks where pid='root'; commit"));
        p.frame->model()->clear();
    });
}

namespace {
// Every task deleted (untimed), then run timed.
template <typename Prepare, typename Fn>
void afterDeleteAll(benchmark::State& s, Prepare prepare, Fn run) {
    for (auto _ : s) {
        s.PauseTiming();
        auto p = std::make_unique<Program>(true, copyOfFolder());
        prepare(*p);
        p->frame->Action_SelectAll->trigger();
        p->frame->Action_TaskDelete->trigger();
        s.ResumeTiming();
        run(*p);
        s.PauseTiming();
        p.reset();
        s.ResumeTiming();
    }
}
} // namespace

void BM_UndoDeleteAll(benchmark::State& s) {
    afterDeleteAll(
        s, [](Program&) {}, [](Program& p) { p.frame->Action_Undo->trigger(); });
}

// The rows put back by one statement and the tree loaded again.
void BM_UndoDeleteAll_Floor(benchmark::State& s) {
    afterDeleteAll(
        s,
        [](Program& p) {
            p.main->context().db.exec(
                QStringLiteral("create temp table saved as select rowid as r, * from tasks"));
        },
        [](Program& p) {
            Database& db = p.main->context().db;
            db.exec(QStringLiteral("insert into tasks(rowid, tid, pid, content, checkFlag, "
                                   "checkTime, alarmFlag, alarmTime, dueFlag, dueTime, textColor, "
                                   "backgroundColor, expandFlag, createTime, editTime) "
                                   "select r, tid, pid, content, checkFlag, checkTime, alarmFlag, "
                                   "alarmTime, dueFlag, dueTime, textColor, backgroundColor, "
                                   "expandFlag, createTime, editTime from saved"));
            LoadTaskTree(db, *p.frame->model());
        });
}

void BM_DismissAll(benchmark::State& s) {
    Program& p = burstProgram();
    const auto nodes = burst(p);
    for (auto _ : s)
        p.frame->AnswerReminders(nodes, true, 0, true);
}

void BM_DismissAll_Floor(benchmark::State& s) {
    Program& p = burstProgram();
    QStringList ids;
    for (TaskNode* n : burst(p))
        ids << QuotedStr(n->info.tid);
    const QString sql = QStringLiteral("begin; update tasks set alarmFlag=0, alarmTime=0 where tid "
                                       "in (") +
                        ids.join(u',') + QStringLiteral("); commit");
    for (auto _ : s)
        p.main->context().db.exec(sql);
}

void ReleaseCommandBenches() {
    g_burst.reset();
}
