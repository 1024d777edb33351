#pragma once

#include "TaskInfo.h"

#include <QLocale>
#include <QString>
#include <vector>

class Database;
class TaskTreeModel;
class TaskNode;

// Compares with only the letters a to z folded to upper case; every other
// character by its code. <0, 0 or >0.
int CompareTextAZ(QStringView a, QStringView b);

// Stable sort of both levels by content.
void SortTaskTree(TaskTreeModel& model, bool ascending);

enum ViewRange { ViewAll = 0, ViewComplete = 1, ViewIncomplete = 2 };

// Sets the hidden flag of every row by the range and the search, keeps the
// parent of a visible sub-task visible, and returns the parents that a
// search match asks to be expanded (in tree order, each once).
std::vector<TaskNode*> ApplyFilterRules(TaskTreeModel& model, int range, bool searchActive,
                                        const QString& searchText);

// The user's short date; date and long time, the time left out at midnight.
QString ShortDateText(double dt);
QString DateTimeText(double dt);
// The locale's long time format without its zone: it says when, not where.
QString LongTimeFormat(const QLocale& locale);

// What a row shows: the placeholder for empty text, the dates in date view,
// one numbered line in list view (unless hot-expanded); the row being
// edited shows its raw text.
QString RowTextFor(const TaskNode& node, bool listView, bool dateView, bool editing,
                   bool hotExpanded);

// Where the Move To menus may move the task first (the first selected):
// nullptr, standing for the top level, when it is a sub-task, then every
// top-level task but itself and its own parent, in tree order.
std::vector<TaskNode*> MoveTargetsFor(const TaskTreeModel& model, const TaskNode* first);
// The size of that list, without making it.
int MoveTargetCount(const TaskTreeModel& model, const TaskNode* first);

// Icon of a row (image list index, -1 for none): complete tasks none; else
// the reminder, else the due date passed or ahead, to the millisecond.
int RowIcon(const TTaskInfo& t, TDateTime now);

// A due date that other programs give without a time of day means the whole
// day. It is kept as the day's last second, and is overdue from the next day.
QTime WholeDayTime();
bool IsWholeDay(TDateTime due);
bool Overdue(const TTaskInfo& t, TDateTime now);

// How a row's text is drawn, by the rules in their order.
struct RowLook {
    bool bold = false;
    bool italic = false;
    bool grey = false;
    qint32 color = 0; // a colour value; 0 keeps the default
};
RowLook RowLookFor(const TTaskInfo& t, TDateTime now, bool editing, bool selected);

// The status bar text of a selected task.
QString StatusTextFor(const TTaskInfo& t);

// The first incomplete task in tree order, hidden ones included, whose
// reminder is due: its time not later than now (within a millisecond).
TaskNode* FirstDueReminder(const TaskTreeModel& model, TDateTime now);
// Every reminder due at now, in tree order.
std::vector<TaskNode*> DueReminders(const TaskTreeModel& model, TDateTime now);

// The notification-area hint: the first four incomplete tasks, sorted.
QString BuildTrayHint(Database& db, int hintSize);
