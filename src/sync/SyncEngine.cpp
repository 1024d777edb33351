#include "SyncEngine.h"

#include "platform/Database.h"
#include "platform/Transaction.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QUuid>
#include <algorithm>

// Finding the task list, and how a sync begins and ends.

namespace {

bool holdsTasks(const Dav::Response& r) {
    // No component set named: the collection takes every kind (RFC 4791).
    return r.calendar && (r.components.isEmpty() || r.components.contains(QStringLiteral("VTODO")));
}

bool isXml(const QByteArray& contentType) {
    const QByteArray t = contentType.toLower();
    return t.isEmpty() || t.contains("xml");
}

} // namespace

QString SyncResult::text() const {
    if (!ok)
        return QCoreApplication::translate("SyncEngine", "Synchronizing failed: %1").arg(failure);
    QString s = QCoreApplication::translate("SyncEngine", "Synchronized: %1 sent, %2 received")
                    .arg(sent)
                    .arg(received);
    if (!conflictFile.isEmpty())
        s += QCoreApplication::translate("SyncEngine", "; the other versions are in %1")
                 .arg(conflictFile);
    return s;
}

SyncEngine::SyncEngine(Database& db, QString backups, QString version, QObject* parent)
    : QObject(parent), m_db(db), m_store(db), m_client(new DavClient(this)),
      m_backups(std::move(backups)), m_version(std::move(version)) {}

QUrl SyncEngine::urlOf(const QString& path) const {
    QUrl u = m_base;
    u.setPath(path, QUrl::TolerantMode);
    return u;
}

void SyncEngine::start(const SyncAccount& account) {
    if (m_running)
        return;
    if (!begin(account, false))
        return;
    m_others.clear();
    m_toFetch.clear();
    m_fetched.clear();
    m_removed.clear();
    m_queue.clear();
    m_inFlight = 0;
    m_retried.clear();
    const QUrl address(account.address.trimmed());
    const QString accountKey = account.user + u'@' + address.toString() +
                               (account.list.isEmpty() ? QString() : u' ' + account.list);
    try {
        m_store.attach();
        const QString known = m_store.meta(QStringLiteral("account"));
        if (known == accountKey && !m_store.meta(QStringLiteral("collection")).isEmpty()) {
            m_collection = m_store.meta(QStringLiteral("collection"));
            return pull();
        }
    } catch (const DbError& e) {
        return fail(QString::fromStdString(e.what()));
    }
    discover([this, accountKey](QString collection) {
        if (!takeList(collection))
            return;
        try {
            m_store.setMeta(QStringLiteral("account"), accountKey);
            m_store.setMeta(QStringLiteral("server"), serverKey());
            m_store.setMeta(QStringLiteral("collection"), collection);
        } catch (const DbError& e) {
            return fail(QString::fromStdString(e.what()));
        }
        m_collection = collection;
        pull();
    });
}

QString SyncEngine::serverKey() const {
    return m_account.user + u'@' + m_base.toString();
}

bool SyncEngine::takeList(const QString& collection) {
    try {
        const QString was = m_store.meta(QStringLiteral("collection"));
        QString server = m_store.meta(QStringLiteral("server"));
        const QString account = m_store.meta(QStringLiteral("account"));
        const QString user = m_account.user + u'@';
        if (server.isEmpty() && account.startsWith(user)) // recorded before lists were chosen
            server =
                user + QUrl(account.mid(user.size()).section(u' ', 0, 0))
                           .adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment)
                           .toString();
        const bool sameServer = server == serverKey();
        if (sameServer && was == collection)
            return true; // the same list: what is known of it holds
        if (!was.isEmpty() && !m_store.anyHref().isEmpty()) {
            // The tasks here came from another list: taken silently, they
            // would be copied into this one.
            if (!mayWrite())
                return false;
            const ListChange answer =
                confirmListChange ? confirmListChange(sameServer ? urlOf(was).toString() : was,
                                                      urlOf(collection).toString())
                                  : ListChange::Cancel;
            if (answer == ListChange::Cancel) {
                fail(tr("Not synchronized: the tasks here belong to another task list than the "
                        "one the account names."));
                return false;
            }
            if (answer == ListChange::Replace) {
                Transaction t(m_db);
                SyncStore::Quiet quiet(m_store);
                m_db.exec(QStringLiteral("delete from tasks"));
                m_store.reset();
                t.commit();
                m_result.changedHere = true;
            }
        }
        // Another server, user or list: what was known of the old one
        // means nothing, and every task here is new to this one.
        m_store.reset();
    } catch (const DbError& e) {
        fail(QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

void SyncEngine::test(const SyncAccount& account, SyncHooks::TestDone done) {
    if (m_running)
        return done(false, tr("A synchronization is running."), {});
    m_testDone = std::move(done);
    if (!begin(account, true))
        return;
    discover([this](QString collection) {
        m_result.ok = true;
        const QString first = m_lists.empty() || m_lists.front().name.isEmpty()
                                  ? urlOf(collection).toString()
                                  : m_lists.front().name;
        if (m_lists.size() > 1)
            m_result.failure = tr("Found %1 task lists; choose one under Task list (without a "
                                  "choice: %2).")
                                   .arg(m_lists.size())
                                   .arg(first);
        else
            m_result.failure = tr("Found the task list %1 at %2")
                                   .arg(first == urlOf(collection).toString() ? QString() : first,
                                        urlOf(collection).toString())
                                   .simplified();
        finish();
    });
}

bool SyncEngine::begin(const SyncAccount& account, bool testOnly) {
    m_running = true;
    m_startedAt = QDateTime::currentMSecsSinceEpoch();
    m_testOnly = testOnly;
    m_account = account;
    m_result = SyncResult();
    m_lists.clear();
    const QUrl address(account.address.trimmed());
    if (const QString no = DavClient::refusal(address, account.allowPlain); !no.isEmpty()) {
        fail(no);
        return false;
    }
    m_client->setAccount(account.user, account.password, account.allowPlain);
    m_base = address.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment);
    return true;
}

void SyncEngine::stop() {
    if (m_running)
        m_client->abortAll();
}

void SyncEngine::probe(const QUrl& url, int depth,
                       std::function<void(const Dav::Multistatus&)> next) {
    m_client->send("PROPFIND", url, Dav::PropfindDiscovery(),
                   {{"Depth", QByteArray::number(depth)}},
                   [this, next, url](const DavClient::Reply& r) {
                       if (!m_running)
                           return;
                       if (r.status == 401 || r.status == 0)
                           return fail(r);
                       Dav::Multistatus ms;
                       if (r.status == 207 && isXml(r.contentType)) {
                           try {
                               ms = Dav::ParseMultistatus(r.body, r.url.toString());
                           } catch (const Dav::DavError&) {
                               // no answer to use: the next way is tried
                           }
                       }
                       next(ms);
                   });
}

void SyncEngine::discover(std::function<void(QString)> found) {
    const QUrl address(m_account.address.trimmed());
    const auto fromPrincipal = [this, found](const QString& principal) {
        probe(urlOf(principal), 0, [this, found](const Dav::Multistatus& ms) {
            for (const auto& r : ms.responses)
                if (!r.homeSet.isEmpty()) {
                    m_found = found;
                    return lookInHome(r.homeSet);
                }
            fail(tr("The server gives no calendar home for this user."));
        });
    };
    if (!m_testOnly && !m_account.list.isEmpty()) {
        // The list chosen on the Sync page, and no other.
        return probe(urlOf(m_account.list), 0, [this, found](const Dav::Multistatus& ms) {
            if (!ms.responses.empty() && holdsTasks(ms.responses.front()))
                return found(ms.responses.front().href);
            if (!ms.responses.empty() && ms.responses.front().calendar)
                return fail(notTasks());
            fail(tr("The chosen task list %1 is not on the server; choose another one in File, "
                    "Options..., Sync.")
                     .arg(urlOf(m_account.list).toString()));
        });
    }
    probe(address, 0, [this, found, address, fromPrincipal](const Dav::Multistatus& ms) {
        if (!ms.responses.empty()) {
            const Dav::Response& r = ms.responses.front();
            if (holdsTasks(r)) {
                m_lists = {{r.href, r.displayName}};
                return found(r.href);
            }
            if (r.calendar)
                return fail(notTasks());
            if (!r.homeSet.isEmpty()) {
                m_found = found;
                return lookInHome(r.homeSet);
            }
            if (!r.principal.isEmpty())
                return fromPrincipal(r.principal);
        }
        probe(urlOf(QStringLiteral("/.well-known/caldav")), 0,
              [this, fromPrincipal](const Dav::Multistatus& known) {
                  for (const auto& r : known.responses)
                      if (!r.principal.isEmpty())
                          return fromPrincipal(r.principal);
                  fail(tr("No CalDAV server was found at this address."));
              });
    });
}

QString SyncEngine::notTasks() const {
    return tr("The address is a calendar that holds no tasks (events only). Give the address of "
              "a task list, or of the server to choose one of its lists.");
}

void SyncEngine::lookInHome(const QString& home, const QString& made) {
    probe(urlOf(home), 1, [this, home, made](const Dav::Multistatus& ms) {
        // The first by address, whatever order the server lists them in:
        // two devices set up at the same moment each make a list, and both
        // then take the same one.
        m_lists.clear();
        for (const auto& r : ms.responses)
            if (r.href != home && holdsTasks(r))
                m_lists.push_back({r.href, r.displayName});
        std::sort(m_lists.begin(), m_lists.end(),
                  [](const SyncTaskList& a, const SyncTaskList& b) { return a.href < b.href; });
        if (!m_lists.empty())
            return m_found(m_lists.front().href);
        if (!made.isEmpty())
            return m_found(made);
        if (m_testOnly) {
            m_result.ok = true;
            m_result.failure =
                tr("The server holds no task list yet; one named \"Tasks\" is made at the "
                   "first sync.");
            return finish();
        }
        makeCollection(home);
    });
}

void SyncEngine::makeCollection(const QString& home) {
    QString path = home.endsWith(u'/') ? home : home + u'/';
    path += QStringLiteral("tasks-") + QUuid::createUuid().toString(QUuid::Id128).left(12) + u'/';
    m_client->send("MKCALENDAR", urlOf(path), Dav::MakeCalendar(QStringLiteral("Tasks")), {},
                   [this, home, path](const DavClient::Reply& r) {
                       if (!m_running)
                           return;
                       if (!r.ok())
                           return fail(r);
                       lookInHome(home, path);
                   });
}

void SyncEngine::fail(const DavClient::Reply& r) {
    if (r.status == 0)
        return fail(r.failure);
    switch (r.status) {
    case 401:
        m_result.refused = true;
        return fail(tr("The server refused the user name or password."));
    case 403:
        return fail(tr("The server refused access to the task list."));
    case 404:
        return fail(tr("The task list was not found on the server."));
    case 507:
        return fail(tr("The server has no room left."));
    default:
        if (r.status >= 500)
            return fail(tr("The server failed (HTTP %1).").arg(r.status));
        return fail(tr("The server answered HTTP %1.").arg(r.status));
    }
}

void SyncEngine::fail(const QString& text) {
    if (!m_running)
        return;
    m_result.ok = false;
    m_result.failure = text;
    finish();
}

bool SyncEngine::mayWrite() {
    if (!mayChangeHere || mayChangeHere())
        return true;
    m_result.postponed = true;
    fail(tr("Waiting for the edit to end."));
    return false;
}

void SyncEngine::finish() {
    if (!m_running)
        return;
    m_running = false;
    m_client->abortAll();
    if (m_testOnly) {
        if (m_testDone)
            m_testDone(m_result.ok, m_result.failure, m_result.ok ? m_lists : decltype(m_lists)());
        return;
    }
    emit finished(m_result);
}
