#pragma once

#include "platform/Clock.h"

#include <QCoreApplication>
#include <QString>
#include <functional>

class Database;

namespace ICalendar {

struct ImportResult {
    int added = 0, updated = 0, skipped = 0;
    QString text() const {
        return QCoreApplication::translate("Calendar", "Imported: %1 added, %2 updated, %3 skipped")
            .arg(added)
            .arg(updated)
            .arg(skipped);
    }
};

// Adds the file's tasks whose UID is not stored and updates the stored ones
// the file changed later (LAST-MODIFIED newer than the stored edit time);
// the others are skipped. Sub-tasks of sub-tasks go under their top-level
// task; a missing parent or a cycle of parents leaves a task top-level.
// Written in batches; beforeChange runs once before the first write.
// Throws NotCalendarError or a read failure before anything is written, and
// DbError when the database refuses a write.
ImportResult ImportFile(Database& db, const QString& fileName, TDateTime now,
                        const std::function<void(int done, int total)>& progress = {},
                        const std::function<void()>& beforeChange = {});

} // namespace ICalendar
