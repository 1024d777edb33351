#pragma once

#include <QtGlobal>
#include <functional>

class Database;

// Many rows written in transactions of at most maxRows rows or maxMs
// milliseconds, whichever comes first: one commit per row would wait on the
// disk for each. commit() ends the open transaction; call it before anything
// waits on the user, so no dialog holds the database in a transaction. What
// is committed stays, whatever happens after.
// A commit rewrites every index page the batch touched, and ids spread
// over the whole index, so small batches write the indexes many times
// over: a restore of 100,000 tasks took 60% longer in batches of 5,000
// rows or a quarter second than in one. The bounds are the most a kill may
// lose (two seconds of writing; the safety copy taken before is the way
// back), not smaller.
class WriteBatch {
public:
    explicit WriteBatch(Database& db, int maxRows = 100000, int maxMs = 2000);
    ~WriteBatch(); // commits what is open
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    // Runs once, before the first write of the batch's life.
    std::function<void()> beforeFirstWrite;
    void beforeWrite(); // opens a transaction when none is open
    void afterWrite();  // commits a full one
    void commit();

private:
    Database& m_db;
    int m_maxRows, m_maxMs;
    int m_rows = 0;
    bool m_open = false;
    qint64 m_started = 0;
    int m_checkpointPages = 1000; // the connection's own, given back at the end
};
