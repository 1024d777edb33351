#pragma once

#include "DavClient.h"
#include "DavXml.h"
#include "SyncSettings.h"
#include "SyncStore.h"
#include "core/ICalendar.h"
#include "core/TaskInfo.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>

class Database;

struct SyncAccount {
    QString address, user, password;
    bool allowPlain = false;
    QString list = {}; // the task list's path; empty: the first one found
};

struct SyncResult {
    bool ok = false;
    int sent = 0, received = 0;
    QString failure;          // when not ok: what the status bar says
    QString conflictFile;     // the other versions of this run's conflicts, or empty
    bool changedHere = false; // the tasks table got the server's changes
    bool postponed = false;   // stopped before writing here, for an open edit
    bool refused = false;     // the server refused the user name or password
    QString text() const;
};

// One synchronization with a CalDAV collection, never waiting: finds the
// task list (when not known yet), takes the server's changes since the
// last time, then sends the changes made here. Every step is stored as it
// lands, so a sync stopped anywhere goes on from there the next time.
class SyncEngine : public QObject {
    Q_OBJECT
public:
    // backups: where the losing side of a conflict is written.
    SyncEngine(Database& db, QString backups, QString version, QObject* parent = nullptr);

    bool running() const { return m_running; }
    void start(const SyncAccount& account);
    // Finds the task lists and says what it found, changing nothing here.
    void test(const SyncAccount& account, SyncHooks::TestDone done);
    void stop();
    // When this sync began (running() only).
    qint64 startedAt() const { return m_startedAt; }
    void setRequestDeadline(int ms) { m_client->setDeadline(ms); }

    // Asked before the server's removals would delete many tasks here;
    // false keeps them and sends them back. Unset: kept.
    std::function<bool(int deletions, int total)> confirmDeletions;
    // Asked before the server's changes are written here: false (an edit
    // in place or a question is open) ends the sync, postponed, with
    // nothing written.
    std::function<bool()> mayChangeHere;
    // Asked when the task list itself was deleted on the server: true makes
    // it again at its address and sends every task here to it. Unset: no.
    std::function<bool(const QString& address)> confirmRemake;
    // Asked when the account now names another task list than the one the
    // tasks here were synchronized with. Unset: Cancel.
    enum class ListChange { Cancel, Send, Replace };
    std::function<ListChange(const QString& was, const QString& now)> confirmListChange;

signals:
    void localChanged(); // the tasks table holds the server's changes
    void finished(const SyncResult& result);

private:
    struct Remote {
        QString href, etag;
        QByteArray data;
    };
    // discovery (SyncEngine.cpp)
    bool begin(const SyncAccount& account, bool testOnly); // false: refused, ended
    void discover(std::function<void(QString collection)> found);
    // The list found, taken in place of the one known: false ends the sync.
    bool takeList(const QString& collection);
    QString serverKey() const; // the user at the server
    QString notTasks() const;  // what an address of events only gets
    void probe(const QUrl& url, int depth, std::function<void(const Dav::Multistatus&)> next);
    // made: the list this sync has just made there, when it did.
    void lookInHome(const QString& home, const QString& made = QString());
    void makeCollection(const QString& home);
    void fail(const DavClient::Reply& r);
    void fail(const QString& text);
    void finish();
    bool mayWrite(); // or ends the sync, postponed
    QUrl urlOf(const QString& path) const;
    // taking the server's changes (SyncPull.cpp)
    void pull();
    void report(const QString& token); // the changes since token, by sync report
    void listAll();
    void listGone(); // the collection itself answers 404
    // A request to the collection whose 207 reply goes to next, read.
    void multistatus(const QByteArray& method, const QByteArray& body,
                     std::function<void(const Dav::Multistatus&)> next);
    void listed(const std::vector<Dav::Response>& responses, bool complete, QString token);
    void fetchNext();
    void applyFetched();
    bool applyOne(const Remote& r);
    QStringList deletionsAsked();
    void applyRemovals(const QStringList& deletions);
    void adoptOrphans();
    void writeTask(const TTaskInfo& t, const QString& parentUid, bool exists);
    std::optional<TTaskInfo> storedTask(const QString& tid) const;
    void keepOtherVersion(ICalendar::Component vtodo); // written at once
    // sending the changes made here (SyncPush.cpp)
    void push();
    void sendNext();
    void sendOne(const SyncStore::Item& item);
    void sent(const SyncStore::Item& item, const QString& href, const QByteArray& object,
              const DavClient::Reply& r);
    void refetch(const SyncStore::Item& item, const QString& href);
    QByteArray objectFor(const TTaskInfo& t, const QByteArray& server) const;

    Database& m_db;
    SyncStore m_store;
    DavClient* m_client;
    QString m_backups, m_version;
    SyncAccount m_account;
    bool m_running = false, m_testOnly = false;
    qint64 m_startedAt = 0; // ms since the epoch
    SyncHooks::TestDone m_testDone;
    std::vector<SyncTaskList> m_lists;    // found by discovery
    std::function<void(QString)> m_found; // where discovery goes on with the list found
    QString m_collection;                 // path
    QUrl m_base;                          // the server's address: scheme, host and port
    SyncResult m_result;
    // pull state
    QString m_newToken;
    QStringList m_toFetch;
    std::vector<Remote> m_fetched;
    QStringList m_removed;
    std::vector<ICalendar::Component> m_others; // the losing versions of conflicts
    bool m_inserted = false;                    // a task new here in this pull
    // push state
    std::deque<SyncStore::Item> m_queue;
    QSet<QString> m_retried;
    int m_inFlight = 0;
};
