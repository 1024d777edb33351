#pragma once

#include "TaskInfo.h"

#include <QStringList>

// The fields of a task that other devices see: what the sync records as
// changed here, compares and merges. Every other column (a row's open
// state, its creation time) stays this copy's own.
namespace SyncedFields {

enum Field : unsigned {
    Parent = 1u << 0,
    Content = 1u << 1,
    Completion = 1u << 2,
    Due = 1u << 3,
    Reminder = 1u << 4,
    TextColor = 1u << 5,
    BackgroundColor = 1u << 6,
};
constexpr unsigned kAll = (1u << 7) - 1;

// A task as another device sees it: its fields and its parent's id
// (empty: a top-level task).
struct Version {
    TTaskInfo info;
    QString parent;
};
Version Of(const TTaskInfo& t);

// A time to the second, as a calendar object keeps it.
qint64 Seconds(TDateTime v);

// The columns of the tasks table that hold them.
QStringList Columns();
// The fields in which two versions differ: times to the second, as a
// calendar object keeps them; a time that is off counts as none.
unsigned Differing(const Version& a, const Version& b);
// The values of the given fields of from, written into to.
void Take(Version& to, const Version& from, unsigned fields);

} // namespace SyncedFields
