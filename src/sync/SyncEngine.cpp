#include "SyncEngine.h"

#include "platform/Database.h"

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
    const QString accountKey = account.user + u'@' + address.toString();
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
        try {
            // Another server, user or list: what was known of the old one
            // means nothing.
            m_store.reset();
            m_store.setMeta(QStringLiteral("account"), accountKey);
            m_store.setMeta(QStringLiteral("collection"), collection);
        } catch (const DbError& e) {
            return fail(QString::fromStdString(e.what()));
        }
        m_collection = collection;
        pull();
    });
}

void SyncEngine::test(const SyncAccount& account, std::function<void(bool, QString)> done) {
    if (m_running)
        return done(false, tr("A synchronization is running."));
    m_testDone = std::move(done);
    if (!begin(account, true))
        return;
    discover([this](QString collection) {
        m_result.ok = true;
        m_result.failure = tr("Found the task list at %1").arg(urlOf(collection).toString());
        finish();
    });
}

bool SyncEngine::begin(const SyncAccount& account, bool testOnly) {
    m_running = true;
    m_startedAt = QDateTime::currentMSecsSinceEpoch();
    m_testOnly = testOnly;
    m_account = account;
    m_result = SyncResult();
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
    probe(address, 0, [this, found, address, fromPrincipal](const Dav::Multistatus& ms) {
        if (!ms.responses.empty()) {
            const Dav::Response& r = ms.responses.front();
            if (holdsTasks(r))
                return found(r.href);
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

void SyncEngine::lookInHome(const QString& home, const QString& made) {
    probe(urlOf(home), 1, [this, home, made](const Dav::Multistatus& ms) {
        // The first by address, whatever order the server lists them in:
        // two devices set up at the same moment each make a list, and both
        // then take the same one.
        QStringList lists;
        for (const auto& r : ms.responses)
            if (r.href != home && holdsTasks(r))
                lists << r.href;
        std::sort(lists.begin(), lists.end());
        if (!lists.isEmpty())
            return m_found(lists.front());
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
            m_testDone(m_result.ok, m_result.failure);
        return;
    }
    emit finished(m_result);
}
