#pragma once

class Database;

// The writes of one command, all or none: rolled back unless committed, so
// a failure half-way (a full or locked disk) leaves the table as it was.
// Opened inside a transaction already running, it is part of that one.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& m_db;
    bool m_own = false;
};
