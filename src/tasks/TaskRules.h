#pragma once

#include <QString>
#include <vector>

class Database;
class TaskTreeModel;
class TaskNode;

// Compares with only the letters a to z folded to upper case; every other
// character by its code. <0, 0 or >0.
int CompareTextAZ(const QString& a, const QString& b);

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

// What a row shows: the placeholder for empty text, the dates in date view,
// one numbered line in list view (unless hot-expanded); the row being
// edited shows its raw text.
QString RowTextFor(const TaskNode& node, bool listView, bool dateView, bool editing,
                   bool hotExpanded);

// The notification-area hint: the first four incomplete tasks, sorted.
QString BuildTrayHint(Database& db, int hintSize);
