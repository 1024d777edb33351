#include "SyncEngine.h"

#include "platform/Database.h"
#include "platform/Transaction.h"

#include <QCoreApplication>
#include <libical/ical.h>

// Sending the changes made here: each changed task written over the
// server's version it was based on, each deleted one removed, with the
// server refusing a write whose base is no longer its own.

namespace {

constexpr int kInFlight = 4;

} // namespace

void SyncEngine::push() {
    try {
        const auto pending = m_store.pending();
        m_queue.assign(pending.begin(), pending.end());
    } catch (const DbError& e) {
        return fail(QString::fromStdString(e.what()));
    }
    sendNext();
}

void SyncEngine::sendNext() {
    while (m_running && m_inFlight < kInFlight && !m_queue.empty()) {
        const SyncStore::Item item = m_queue.front();
        m_queue.pop_front();
        sendOne(item);
    }
    if (m_running && m_inFlight == 0 && m_queue.empty()) {
        m_result.ok = true;
        finish();
    }
}

QByteArray SyncEngine::objectFor(const TTaskInfo& t, const QByteArray& server) const {
    const QString parent = t.pid == RootPid() ? QString() : t.pid;
    if (!server.isEmpty()) {
        try {
            // The server's object with our fields set: what another program
            // keeps there stays as it wrote it.
            return ICalendar::MergeFields(server, t, parent);
        } catch (const ICalendar::NotCalendarError&) {
            // written afresh below
        }
    }
    return ICalendar::WriteCalendar({{&t, parent}}, m_version);
}

void SyncEngine::sendOne(const SyncStore::Item& queued) {
    std::optional<SyncStore::Item> item;
    std::optional<TTaskInfo> task;
    try {
        item = m_store.byTid(queued.tid);
        if (!item || !item->dirty)
            return sendNext();
        if (item->deleted && item->href.isEmpty()) {
            m_store.removeDeleted(item->tid, item->rev); // never reached the server
            return sendNext();
        }
        if (!item->deleted) {
            task = storedTask(item->tid);
            if (!task)
                return sendNext(); // its deletion is recorded and goes next time
        }
    } catch (const DbError& e) {
        return fail(QString::fromStdString(e.what()));
    }
    ++m_inFlight;
    const SyncStore::Item it = *item;
    if (it.deleted) {
        DavClient::Headers h;
        if (!it.etag.isEmpty())
            h.append({QByteArray("If-Match"), it.etag.toUtf8()});
        m_client->send("DELETE", urlOf(it.href), {}, h, [this, it](const DavClient::Reply& r) {
            --m_inFlight;
            if (!m_running)
                return;
            try {
                if (r.ok() || r.status == 404 || r.status == 410) {
                    m_store.removeDeleted(it.tid, it.rev);
                    if (r.ok())
                        ++m_result.sent;
                } else if (r.status == 412) {
                    return refetch(it, it.href); // edited there: it comes back
                } else {
                    return fail(r);
                }
            } catch (const DbError& e) {
                return fail(QString::fromStdString(e.what()));
            }
            sendNext();
        });
        return;
    }
    TTaskInfo t = *task;
    // Its last change here, whatever field it was, is the object's.
    t.editTime = std::max(t.editTime, it.changed);
    const QByteArray object = objectFor(t, it.object);
    const bool isNew = it.href.isEmpty();
    const QString href =
        isNew ? m_collection + (m_collection.endsWith(u'/') ? QString() : QStringLiteral("/")) +
                    QString::fromLatin1(QUrl::toPercentEncoding(it.tid)) + QStringLiteral(".ics")
              : it.href;
    DavClient::Headers h{{"Content-Type", "text/calendar; charset=utf-8"}};
    if (isNew)
        h.append({QByteArray("If-None-Match"), QByteArray("*")});
    else if (!it.etag.isEmpty())
        h.append({QByteArray("If-Match"), it.etag.toUtf8()});
    m_client->send("PUT", urlOf(href), object, h,
                   [this, it, href, object](const DavClient::Reply& r) {
                       --m_inFlight;
                       if (!m_running)
                           return;
                       sent(it, href, object, r);
                   });
}

void SyncEngine::sent(const SyncStore::Item& it, const QString& href, const QByteArray& object,
                      const DavClient::Reply& r) {
    try {
        if (r.ok()) {
            m_store.storeSent(it.tid, it.rev, href, QString::fromUtf8(r.etag), object);
            ++m_result.sent;
        } else if (r.status == 412) {
            return refetch(it, href); // changed there since: settle, then send again
        } else if (r.status == 404 && !it.href.isEmpty() && !m_retried.contains(it.tid)) {
            // Deleted there, edited here: the edit wins, as a new object.
            m_retried.insert(it.tid);
            m_store.forgetHref(it.tid);
            m_queue.push_back(it);
        } else {
            return fail(r);
        }
    } catch (const DbError& e) {
        return fail(QString::fromStdString(e.what()));
    }
    sendNext();
}

void SyncEngine::refetch(const SyncStore::Item& it, const QString& href) {
    if (m_retried.contains(it.tid))
        return fail(tr("The server keeps changing a task; the next sync tries again."));
    m_retried.insert(it.tid);
    ++m_inFlight;
    m_client->send("GET", urlOf(href), {}, {}, [this, it, href](const DavClient::Reply& r) {
        --m_inFlight;
        if (!m_running)
            return;
        try {
            if (r.status == 404 || r.status == 410) {
                m_store.forgetHref(it.tid);
            } else if (r.ok()) {
                if (!mayWrite())
                    return;
                bool changed = false;
                {
                    Transaction t(m_db);
                    SyncStore::Quiet quiet(m_store);
                    changed = applyOne({href, QString::fromUtf8(r.etag), r.body});
                    t.commit();
                }
                if (changed) {
                    m_result.changedHere = true;
                    ++m_result.received;
                    emit localChanged();
                }
            } else {
                return fail(r);
            }
        } catch (const std::exception& e) {
            return fail(QString::fromStdString(e.what()));
        }
        m_queue.push_back(it); // sent again when still changed here
        sendNext();
    });
}
