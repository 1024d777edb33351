#pragma once

#include "platform/Clock.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Database;

// What the database knows of the server: for each task sent or received,
// where it lives (href), its version there (ETag) and the server's last
// copy of it; and the changes made here since. The tasks table stays as it
// is: every write to it is recorded by the connection's own triggers, in
// the transaction of the write, so a change can never be lost between the
// command and the record of it.
class SyncStore {
public:
    explicit SyncStore(Database& db) : m_db(db) {}

    // Makes the tables when missing and the triggers of this connection.
    void attach();
    // Counts the changes made here to the tasks table (not the server's),
    // on every attached connection: a sync can follow them.
    static quint64 ChangeCount();
    // Whether a sync has ever been set up in this database.
    bool exists() const;
    // Forgets every record of the server (another account or collection):
    // every task is then new to it.
    void reset();

    struct Item {
        QString tid, href, etag;
        QByteArray object;    // the server's iCalendar text, empty before the first reply
        bool deleted = false; // deleted here, not yet on the server
        bool dirty = false;   // changed here since the last exchange
        int rev = 0;          // counts the changes made here
        TDateTime changed = 0;
    };
    std::optional<Item> byTid(const QString& tid) const;
    std::optional<Item> byHref(const QString& href) const;
    std::vector<Item> all() const;
    // The address of one object known to be on the server, or empty.
    QString anyHref() const;
    // Changed or deleted here, with the tasks never sent (no record yet).
    std::vector<Item> pending() const;

    // The server's version of an object, as now stored here too.
    void storeClean(const QString& tid, const QString& href, const QString& etag,
                    const QByteArray& object);
    // After a write that sent revision rev: clean unless changed again since.
    void storeSent(const QString& tid, int rev, const QString& href, const QString& etag,
                   const QByteArray& object);
    // The server's copy changed while this side holds a newer edit: still
    // to send, over the server's version.
    void storeServerVersion(const QString& tid, const QString& href, const QString& etag,
                            const QByteArray& object);
    // The server no longer has it, but this side changed it: sent again as new.
    void forgetHref(const QString& tid);
    void remove(const QString& tid);
    void removeDeleted(const QString& tid, int rev);

    // The tasks the server's changes wrote since the last call (added,
    // changed, moved or deleted), each once; the record is then empty.
    QStringList takeTouched();

    QString meta(const QString& key) const;
    void setMeta(const QString& key, const QString& value);

    // Writes of the server's changes: not recorded as changes made here.
    class Quiet {
    public:
        explicit Quiet(SyncStore& s);
        ~Quiet();
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

    private:
        Database& m_db;
    };

private:
    void ensure(const QString& tid); // a record, empty when new

    Database& m_db;
};
