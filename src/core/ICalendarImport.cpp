#include "ICalendarImport.h"

#include "ICalendar.h"
#include "TaskStore.h"
#include "platform/Database.h"
#include "platform/WriteBatch.h"
#include "platform/pU_Funcs.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <cmath>

namespace ICalendar {

namespace {

struct Stored {
    QString pid;
    TDateTime editTime = 0;
};

enum class Fate { Add, Update, Skip };

qint64 seconds(TDateTime v) {
    return std::llround(v * 86400.0);
}

QByteArray readFile(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QCoreApplication::translate("Interchange", "File read failure!").toStdString());
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw std::runtime_error(
            QCoreApplication::translate("Interchange", "File read failure!").toStdString());
    return bytes;
}

} // namespace

ImportResult ImportFile(Database& db, const QString& fileName, TDateTime now,
                        const std::function<void(int, int)>& progress,
                        const std::function<void()>& beforeChange) {
    std::vector<CalendarTask> tasks = ReadCalendar(readFile(fileName), now);

    QHash<QString, Stored> stored;
    {
        Query q(db);
        OpenQuery(q, QStringLiteral("select tid, pid, editTime from tasks"));
        for (; !q.eof(); q.next())
            stored.insert(q.text(0), Stored{q.text(1), q.dateTime(2)});
    }

    ImportResult result;
    std::vector<Fate> fate(tasks.size(), Fate::Skip);
    QHash<QString, qsizetype> inFile; // the first task of each UID
    for (size_t i = 0; i < tasks.size(); ++i) {
        QString& tid = tasks[i].info.tid;
        if (tid.isEmpty())
            tid = NewGuid();
        else if (inFile.contains(tid))
            continue; // the same UID twice: the first one counts
        inFile.insert(tid, qsizetype(i));
        const auto s = stored.constFind(tid);
        if (s == stored.constEnd())
            fate[i] = Fate::Add;
        else if (tasks[i].lastModified != 0 &&
                 seconds(tasks[i].lastModified) > seconds(s->editTime))
            fate[i] = Fate::Update;
    }

    // Parents as they will be: the file's for what it writes, the table's
    // for the rest.
    const auto parentOf = [&](const QString& tid) -> QString {
        if (const auto f = inFile.constFind(tid); f != inFile.constEnd() && fate[*f] != Fate::Skip)
            return tasks[*f].parentUid;
        if (const auto s = stored.constFind(tid); s != stored.constEnd() && s->pid != RootPid())
            return s->pid;
        return QString();
    };
    const auto exists = [&](const QString& tid) {
        return inFile.contains(tid) || stored.contains(tid);
    };
    // Each chain of parents is walked once: every task on it learns its
    // top, so a long chain costs its length, not its length squared.
    QHash<QString, QString> tops; // empty: the chain ends in a cycle
    const auto topOf = [&](const QString& tid) {
        QStringList path;
        QSet<QString> onPath;
        QString at = tid, found;
        bool cycle = false;
        for (;;) {
            if (const auto c = tops.constFind(at); c != tops.constEnd()) {
                found = *c;
                cycle = found.isEmpty();
                break;
            }
            path << at;
            onPath.insert(at);
            const QString p = parentOf(at);
            if (p.isEmpty() || !exists(p)) {
                found = at;
                break;
            }
            if (onPath.contains(p)) {
                cycle = true;
                break;
            }
            at = p;
        }
        for (const QString& n : std::as_const(path))
            tops.insert(n, cycle ? QString() : found);
        return cycle ? tid : found; // a cycle: top-level
    };
    // Stored rows that stay under a task the file would make a sub-task
    // keep it top-level: the tree has two levels.
    QSet<QString> keptParents;
    for (auto s = stored.constBegin(); s != stored.constEnd(); ++s) {
        const auto f = inFile.constFind(s.key());
        if (s->pid != RootPid() && (f == inFile.constEnd() || fate[*f] == Fate::Skip))
            keptParents.insert(s->pid);
    }

    WriteBatch batch(db);
    batch.beforeFirstWrite = beforeChange;
    Query q(db);
    const int total = int(tasks.size());
    for (size_t i = 0; i < tasks.size(); ++i) {
        if (progress && i % 256 == 0)
            progress(int(i), total);
        if (fate[i] == Fate::Skip) {
            ++result.skipped;
            continue;
        }
        const TTaskInfo& t = tasks[i].info;
        const QString top = topOf(t.tid);
        const bool sub = top != t.tid && !keptParents.contains(t.tid);
        const QString pid = sub ? top : RootPid();
        batch.beforeWrite();
        TaskStore::WriteFromOutside(q, t, pid, fate[i] == Fate::Update, true);
        ++(fate[i] == Fate::Add ? result.added : result.updated);
        batch.afterWrite();
    }
    batch.commit();
    if (progress)
        progress(total, total);
    return result;
}

} // namespace ICalendar
