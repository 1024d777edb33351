#include "Transaction.h"

#include "Database.h"

#include <sqlite3.h>

Transaction::Transaction(Database& db) : m_db(db) {
    // No connection: the first write reports it.
    if (!m_db.isOpen() || !sqlite3_get_autocommit(m_db.handle()))
        return;
    m_db.exec(QStringLiteral("begin immediate"));
    m_own = true;
}

Transaction::~Transaction() {
    if (m_own && m_db.isOpen() && !sqlite3_get_autocommit(m_db.handle()))
        sqlite3_exec(m_db.handle(), "rollback", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    if (!m_own)
        return;
    m_db.exec(QStringLiteral("commit")); // on failure the destructor rolls back
    m_own = false;
}
