#include "WriteBatch.h"

#include "Database.h"

#include <QDateTime>
#include <sqlite3.h>

WriteBatch::WriteBatch(Database& db, int maxRows, int maxMs)
    : m_db(db), m_maxRows(maxRows), m_maxMs(maxMs) {}

WriteBatch::~WriteBatch() {
    try {
        commit();
    } catch (const DbError&) {
        // Nothing more can be kept of this transaction.
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
