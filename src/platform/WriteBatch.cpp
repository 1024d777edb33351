#include "WriteBatch.h"

#include "Database.h"

#include <QDateTime>
#include <cstdlib>
#include <sqlite3.h>

namespace {
int autoCheckpoint(sqlite3* db, int pages) {
    int was = 1000;
    sqlite3_exec(
        db, "pragma wal_autocheckpoint",
        [](void* out, int, char** values, char**) {
            *static_cast<int*>(out) = values[0] ? std::atoi(values[0]) : 1000;
            return 0;
        },
        &was, nullptr);
    sqlite3_wal_autocheckpoint(db, pages);
    return was;
}
} // namespace

// Each commit would also copy the log into the database once the log is
// long, rewriting the same index pages batch after batch: the copy is left
// to the end. A crash before it loses nothing; the log is read at the next
// open.
WriteBatch::WriteBatch(Database& db, int maxRows, int maxMs)
    : m_db(db), m_maxRows(maxRows), m_maxMs(maxMs) {
    if (m_db.isOpen())
        m_checkpointPages = autoCheckpoint(m_db.handle(), 0);
}

WriteBatch::~WriteBatch() {
    try {
        commit();
    } catch (const DbError&) {
        // Nothing more can be kept of this transaction.
    }
    if (m_db.isOpen()) {
        sqlite3* db = m_db.handle();
        autoCheckpoint(db, m_checkpointPages);
        sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    }
}

void WriteBatch::beforeWrite() {
    if (m_open)
        return;
    if (beforeFirstWrite) {
        const std::function<void()> first = beforeFirstWrite;
        first(); // a failure leaves it to run again at the next write
        beforeFirstWrite = nullptr;
    }
    m_db.exec(QStringLiteral("begin"));
    m_open = true;
    m_rows = 0;
    m_started = QDateTime::currentMSecsSinceEpoch();
}

void WriteBatch::afterWrite() {
    if (m_open &&
        (++m_rows >= m_maxRows || QDateTime::currentMSecsSinceEpoch() - m_started >= m_maxMs))
        commit();
}

void WriteBatch::commit() {
    if (!m_open)
        return;
    m_open = false;
    sqlite3* db = m_db.handle();
    if (sqlite3_get_autocommit(db))
        return; // the engine already ended it, after a failed statement
    if (sqlite3_exec(db, "commit", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString error = QString::fromUtf8(sqlite3_errmsg(db));
        if (!sqlite3_get_autocommit(db))
            sqlite3_exec(db, "rollback", nullptr, nullptr, nullptr);
        throw DbError(error);
    }
}
