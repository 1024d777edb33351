#include "SyncEngine.h"

#include "SyncDecide.h"

#include "core/TaskColumns.h"
#include "core/TaskStore.h"
#include "platform/Database.h"
#include "platform/FileModes.h"
#include "platform/FileWriter.h"
#include "platform/Sealed.h"
#include "platform/WriteBatch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <libical/ical.h>

// Taking the server's changes: which objects changed, fetching them, and
// writing them here, with the conflicts settled.

namespace {

constexpr int kFetchBatch = 100;

QString parentOf(const TTaskInfo& t) {
    return t.pid == RootPid() ? QString() : t.pid;
}

// The task as the last exchange left it on the server.
std::optional<SyncedFields::Version> baseOf(const QByteArray& object, const QString& tid,
                                            TDateTime now) {
    try {
        const ICalendar::Component root = ICalendar::Parse(object);
        for (icalcomponent* v : ICalendar::Vtodos(root.get())) {
            const ICalendar::CalendarTask t = ICalendar::ReadFields(v, now);
            if (t.info.tid == tid)
                return SyncedFields::Version{t.info, t.parentUid};
        }
    } catch (const ICalendar::NotCalendarError&) {
    }
    return std::nullopt;
}

} // namespace

void SyncEngine::pull() {
    QString token, known;
    try {
        token = m_store.meta(QStringLiteral("token"));
        if (!token.isEmpty())
            known = m_store.anyHref();
    } catch (const DbError& e) {
        return fail(QString::fromStdString(e.what()));
    }
    if (known.isEmpty())
        return report(token);
    // Still the list we knew? A list deleted and made anew at the same
    // address may even give back an old token, and report nothing gone.
    m_client->send("PROPFIND", urlOf(known), Dav::PropfindEtags(), {{"Depth", "0"}},
                   [this, token](const DavClient::Reply& r) {
                       if (!m_running)
                           return;
                       if (r.status == 0 || r.status == 401)
                           return fail(r);
                       if (r.status != 404 && r.status != 410)
                           return report(token);
                       m_store.setMeta(QStringLiteral("token"), QString());
                       listAll(); // everything compared, the deletions asked
                   });
}

void SyncEngine::report(const QString& token) {
    m_client->send("REPORT", urlOf(m_collection), Dav::SyncCollection(token), {{"Depth", "1"}},
                   [this, token](const DavClient::Reply& r) {
                       if (!m_running)
                           return;
                       if (r.status == 207) {
                           try {
                               const Dav::Multistatus ms =
                                   Dav::ParseMultistatus(r.body, r.url.toString());
                               return listed(ms.responses, token.isEmpty(), ms.syncToken);
                           } catch (const Dav::DavError& e) {
                               return fail(QString::fromStdString(e.what()));
                           }
                       }
                       if (r.status == 404)
                           return listGone();
                       if (r.status == 0 || r.status == 401)
                           return fail(r);
                       // A token the server no longer knows (some answer 500 to it),
                       // or no sync reports here at all: the ETags tell, and the next
                       // sync asks for a new token.
                       if (!token.isEmpty())
                           m_store.setMeta(QStringLiteral("token"), QString());
                       listAll();
                   });
}

void SyncEngine::multistatus(const QByteArray& method, const QByteArray& body,
                             std::function<void(const Dav::Multistatus&)> next) {
    m_client->send(method, urlOf(m_collection), body, {{"Depth", "1"}},
                   [this, next](const DavClient::Reply& r) {
                       if (!m_running)
                           return;
                       if (r.status == 404)
                           return listGone();
                       if (r.status != 207)
                           return fail(r);
                       Dav::Multistatus ms;
                       try {
                           ms = Dav::ParseMultistatus(r.body, r.url.toString());
                       } catch (const Dav::DavError& e) {
                           return fail(QString::fromStdString(e.what()));
                       }
                       next(ms);
                   });
}

void SyncEngine::listAll() {
    multistatus("PROPFIND", Dav::PropfindEtags(),
                [this](const Dav::Multistatus& ms) { listed(ms.responses, true, QString()); });
}

void SyncEngine::listGone() {
    // Only the user says whether a list deleted there is to come back.
    if (!mayWrite())
        return;
    if (!confirmRemake || !confirmRemake(urlOf(m_collection).toString()))
        return fail(tr("The task list was deleted on the server; Synchronize (F5) offers to make "
                       "it again."));
    m_client->send("MKCALENDAR", urlOf(m_collection), Dav::MakeCalendar(QStringLiteral("Tasks")),
                   {}, [this](const DavClient::Reply& r) {
                       if (!m_running)
                           return;
                       if (!r.ok())
                           return fail(r);
                       try {
                           // Nothing of the old list is there: every task is new to it.
                           const QString account = m_store.meta(QStringLiteral("account"));
                           m_store.reset();
                           m_store.setMeta(QStringLiteral("account"), account);
                           m_store.setMeta(QStringLiteral("collection"), m_collection);
                       } catch (const DbError& e) {
                           return fail(QString::fromStdString(e.what()));
                       }
                       m_toFetch.clear();
                       m_fetched.clear();
                       m_removed.clear();
                       pull();
                   });
}

void SyncEngine::listed(const std::vector<Dav::Response>& responses, bool complete, QString token) {
    m_newToken = std::move(token);
    QSet<QString> seen;
    try {
        for (const Dav::Response& r : responses) {
            if (r.href == m_collection || r.collection || r.href.isEmpty())
                continue;
            if (r.status == 404) {
                m_removed << r.href;
                continue;
            }
            seen.insert(r.href);
            const auto item = m_store.byHref(r.href);
            if (!item || r.etag.isEmpty() || item->etag != r.etag)
                m_toFetch << r.href;
        }
        if (complete)
            for (const auto& item : m_store.all())
                if (!item.href.isEmpty() && !seen.contains(item.href))
                    m_removed << item.href;
    } catch (const DbError& e) {
        return fail(QString::fromStdString(e.what()));
    }
    fetchNext();
}

void SyncEngine::fetchNext() {
    if (m_toFetch.isEmpty())
        return applyFetched();
    const QStringList batch = m_toFetch.mid(0, kFetchBatch);
    m_toFetch.remove(0, batch.size());
    multistatus("REPORT", Dav::Multiget(batch), [this, batch](const Dav::Multistatus& ms) {
        for (const Dav::Response& o : ms.responses) {
            if (!batch.contains(o.href))
                continue; // asked for none of it
            if (o.status == 404)
                m_removed << o.href;
            else if (!o.calendarData.isEmpty())
                m_fetched.push_back({o.href, o.etag, o.calendarData});
        }
        fetchNext();
    });
}

void SyncEngine::applyFetched() {
    m_inserted = false;
    try {
        if (!m_fetched.empty() || !m_removed.isEmpty()) {
            if (!mayWrite())
                return;
            // The question, if any, comes before the writes: no dialog
            // waits inside a transaction.
            const QStringList deletions = deletionsAsked();
            // Parents first, so that their sub-tasks find them.
            std::stable_partition(m_fetched.begin(), m_fetched.end(),
                                  [](const Remote& r) { return !r.data.contains("RELATED-TO"); });
            WriteBatch batch(m_db, 500);
            SyncStore::Quiet quiet(m_store);
            for (const Remote& r : m_fetched) {
                batch.beforeWrite();
                if (applyOne(r)) {
                    m_result.changedHere = true;
                    ++m_result.received;
                }
                batch.afterWrite();
            }
            batch.beforeWrite();
            if (m_inserted)
                adoptOrphans();
            applyRemovals(deletions);
            m_store.setMeta(QStringLiteral("token"), m_newToken);
            batch.commit();
        } else if (!m_newToken.isEmpty()) {
            m_store.setMeta(QStringLiteral("token"), m_newToken);
        }
    } catch (const std::exception& e) {
        if (m_result.changedHere)
            emit localChanged();
        return fail(QString::fromStdString(e.what()));
    }
    m_fetched.clear();
    m_removed.clear();
    if (m_result.changedHere)
        emit localChanged();
    push();
}

std::optional<TTaskInfo> SyncEngine::storedTask(const QString& tid) const {
    Query q(m_db);
    OpenQuery(q, QStringLiteral("select * from tasks where tid=?"), {tid});
    if (q.eof())
        return std::nullopt;
    return TaskQueryColumns(q).read(q);
}

bool SyncEngine::applyOne(const Remote& r) {
    ICalendar::Component root;
    try {
        root = ICalendar::Parse(r.data);
    } catch (const ICalendar::NotCalendarError&) {
        return false; // nothing of it can be shown; the server keeps it
    }
    const auto vtodos = ICalendar::Vtodos(root.get());
    if (vtodos.empty())
        return false;                   // an event or a journal: not a task
    const TDateTime now = Clock::Now(); // the same for both readings
    const ICalendar::CalendarTask remote = ICalendar::ReadFields(vtodos.front(), now);
    const QString& tid = remote.info.tid;
    if (tid.isEmpty())
        return false;
    const auto item = m_store.byTid(tid);
    if (item && !item->href.isEmpty() && item->href != r.href)
        return false; // a second object of the same task: the first one counts
    const auto local = storedTask(tid);
    SyncDecide::Pull in;
    in.there = {remote.info, remote.parentUid};
    in.thereModified = remote.lastModified;
    if (local) {
        in.here = SyncedFields::Of(*local);
        in.hereModified = std::max(local->editTime, item ? item->changed : 0.0);
    }
    in.changedHere = item ? item->dirty : local.has_value();
    if (in.changedHere && local && item && !item->object.isEmpty())
        in.base = baseOf(item->object, tid, now);
    const SyncDecide::Outcome d = SyncDecide::DecidePull(in);
    // The losing side of a field changed on both is kept in a file first.
    if (d.lost == SyncDecide::Outcome::Here)
        keepOtherVersion(ICalendar::NewVtodo(*local, parentOf(*local)));
    else if (d.lost == SyncDecide::Outcome::There)
        keepOtherVersion(ICalendar::Component(icalcomponent_new_clone(vtodos.front())));
    if (d.write)
        writeTask(d.write->info, d.write->parent, local.has_value());
    if (d.settled)
        m_store.storeClean(tid, r.href, r.etag, r.data);
    else
        m_store.storeServerVersion(tid, r.href, r.etag, r.data);
    return d.write.has_value();
}

void SyncEngine::writeTask(const TTaskInfo& t, const QString& parentUid, bool exists) {
    // Two levels: under the parent's top-level task, its own sub-tasks
    // coming along (as a move here does); a missing parent or a cycle leave
    // it top-level. Whatever order the objects come in, each copy ends with
    // the same tree.
    QString pid = RootPid();
    if (!parentUid.isEmpty() && parentUid != t.tid)
        if (const auto parent = storedTask(parentUid))
            pid = parent->pid == RootPid() ? parentUid
                  : parent->pid == t.tid   ? RootPid()
                                           : parent->pid;
    const bool top = pid == RootPid();
    Query q(m_db);
    // The row's open or closed state is this window's own: it stays.
    TaskStore::WriteFromOutside(q, t, pid, exists, false);
    if (!exists) {
        m_inserted = true;
        return;
    }
    // Sub-tasks of a task that became one go up with it: two levels.
    if (!top)
        q.execWith(QStringLiteral("update tasks set pid=? where pid=?"), {pid, t.tid});
}

void SyncEngine::adoptOrphans() {
    // A parent deleted there left its sub-tasks at the top level here, the
    // server's copies still naming it. An edit elsewhere brought it back:
    // they go under it again, as on the server and the other devices.
    Query q(m_db);
    std::vector<std::pair<QString, QString>> moves;
    for (OpenQuery(q,
                   QStringLiteral("select t.tid, s.object from tasks t join sync_items s"
                                  " on s.tid=t.tid where t.pid=? and s.dirty=0"
                                  " and s.object like '%RELATED-TO%'"),
                   {RootPid()});
         !q.eof(); q.next()) {
        try {
            const ICalendar::Component root = ICalendar::Parse(q.text(1).toUtf8());
            const auto vtodos = ICalendar::Vtodos(root.get());
            if (vtodos.empty())
                continue;
            const QString parent = ICalendar::ReadFields(vtodos.front(), Clock::Now()).parentUid;
            if (!parent.isEmpty() && parent != q.text(0))
                moves.emplace_back(q.text(0), parent);
        } catch (const ICalendar::NotCalendarError&) {
        }
    }
    q.close();
    for (const auto& [tid, parent] : moves) {
        // Two levels: only under a top-level task, and only a task without
        // sub-tasks of its own.
        OpenQuery(q,
                  QStringLiteral("select (select pid from tasks where tid=?),"
                                 " exists (select 1 from tasks where pid=?)"),
                  {parent, tid});
        const bool fits = q.text(0) == RootPid() && q.integer(1) == 0;
        q.close();
        if (fits) {
            q.execWith(QStringLiteral("update tasks set pid=? where tid=?"), {parent, tid});
            m_result.changedHere = true;
        }
    }
}

QStringList SyncEngine::deletionsAsked() {
    QStringList deletions;
    for (const QString& href : std::as_const(m_removed)) {
        const auto item = m_store.byHref(href);
        if (item && !item->deleted && !item->dirty)
            deletions << item->tid;
    }
    if (deletions.isEmpty())
        return deletions;
    Query q(m_db);
    OpenQuery(q, QStringLiteral("select count(*) from tasks"));
    const int total = q.integer(0);
    q.close();
    const int n = int(deletions.size());
    // A wiped or swapped collection must not empty the list unasked.
    if ((n > 100 || 2 * n > total) && !(confirmDeletions && confirmDeletions(n, total))) {
        for (const QString& tid : std::as_const(deletions))
            m_store.forgetHref(tid); // sent back as new
        deletions.clear();
    }
    return deletions;
}

void SyncEngine::applyRemovals(const QStringList& deletions) {
    for (const QString& href : std::as_const(m_removed)) {
        const auto item = m_store.byHref(href);
        if (!item)
            continue;
        if (item->deleted)
            m_store.remove(item->tid); // gone on both sides
        else if (item->dirty)
            m_store.forgetHref(item->tid); // changed here: it goes back
    }
    Query q(m_db);
    for (const QString& tid : deletions) {
        q.execWith(QStringLiteral("delete from tasks where tid=?"), {tid});
        // Its sub-tasks, when the server still has them, go up.
        q.execWith(QStringLiteral("update tasks set pid=? where pid=?"), {RootPid(), tid});
        m_store.remove(tid);
        m_result.changedHere = true;
        ++m_result.received;
    }
}

void SyncEngine::keepOtherVersion(ICalendar::Component vtodo) {
    m_others.push_back(std::move(vtodo));
    if (m_result.conflictFile.isEmpty()) {
        // Never over the file of an earlier sync in the same second.
        const QString stamp =
            Clock::CurrentDateTime().toString(QStringLiteral("yyyy-MM-dd HHmmss"));
        QString name = QDir(m_backups).filePath(QStringLiteral("Sync conflicts %1.ics").arg(stamp));
        for (int n = 2; QFileInfo::exists(name); ++n)
            name = QDir(m_backups).filePath(
                QStringLiteral("Sync conflicts %1 (%2).ics").arg(stamp).arg(n));
        m_result.conflictFile = name;
    }
    ICalendar::Component cal = ICalendar::NewCalendar(m_version);
    for (const auto& c : m_others)
        icalcomponent_add_component(cal.get(), icalcomponent_new_clone(c.get()));
    const QByteArray bytes = ICalendar::Text(cal.get());
    // The other version is never dropped: without its file, no change here.
    if (QFileInfo(m_backups).isSymLink() || !FileModes::MakeFolder(m_backups) ||
        !FileWriter::TryWrite(m_result.conflictFile, Sealed::SealIfProtected(bytes)))
        throw std::runtime_error(
            tr("The other version of a changed task could not be written into %1.")
                .arg(m_result.conflictFile)
                .toStdString());
}
