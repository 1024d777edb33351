#pragma once

#include "TaskInfo.h"

#include <QString>

class Query;

// Every write the task commands make to the tasks table: one statement a
// call, on the caller's query, values quoted or bound. The tree's record is
// changed by the caller first; these only store it.
namespace TaskStore {

// Fills the record of a task about to be stored for the first time: a new
// identifier, no flags, the default colours, created and edited now.
void StampNewTask(TTaskInfo& t, TDateTime now);
// Inserts the row of a stamped task with the columns a new task starts
// with; the others keep the table's defaults.
void Insert(Query& q, const TTaskInfo& t);
// A changed text and the time of the change.
void WriteContent(Query& q, const QString& tid, const QString& content, TDateTime editTime);
void WriteExpandFlag(Query& q, const QString& tid, bool expanded);
// The writes a command makes to each of many selected rows take their ids
// together, a few hundred to a statement.
// A boolean column and its time column, such as alarmFlag and alarmTime.
void WriteFlagAndTime(Query& q, const QStringList& tids, const QString& flagName, bool flag,
                      const QString& timeName, TDateTime time);
void WriteColors(Query& q, const QStringList& tids, qint32 textColor, qint32 backgroundColor);
void WriteParent(Query& q, const QStringList& tids, const QString& pid);
// A task as another program gives it (an iCalendar file, the sync's
// server), under pid: its row added, or the stored row given its fields
// and times, a time the source leaves out keeping the stored one. A row's
// open or closed state is this copy's own unless writeExpand.
void WriteFromOutside(Query& q, const TTaskInfo& t, const QString& pid, bool exists,
                      bool writeExpand);
// Removes the tasks' rows and the rows of their sub-tasks.
void Delete(Query& q, const QStringList& tids);

} // namespace TaskStore
