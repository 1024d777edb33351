#pragma once

// The engine's answer as the error the user is shown; for the database
// layer's own files only.

#include "Database.h"

#include <sqlite3.h>

namespace {

inline QString engineText(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

inline void check(sqlite3* db, int rc, const QString& what) {
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw DbError(what.isEmpty() ? engineText(db)
                                     : what + QStringLiteral(": ") + engineText(db));
}

} // namespace
