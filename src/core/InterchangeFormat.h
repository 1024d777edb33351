#pragma once

#include <QString>

class Query;

// The interchange file's records as columns of the tables: shared by the
// readers and the writers.
namespace Interchange {

struct Column {
    const char* attribute;
    const char* column;
    enum Kind { Text, Flag, Integer, Time } kind;
};
inline constexpr Column kTaskColumns[] = {
    {"tid", "tid", Column::Text},
    {"pid", "pid", Column::Text},
    {"content", "content", Column::Text},
    {"check-flag", "checkFlag", Column::Flag},
    {"alarm-flag", "alarmFlag", Column::Flag},
    {"due-flag", "dueFlag", Column::Flag},
    {"text-color", "textColor", Column::Integer},
    {"background-color", "backgroundColor", Column::Integer},
    {"create-time", "createTime", Column::Time},
    {"edit-time", "editTime", Column::Time},
    {"check-time", "checkTime", Column::Time},
    {"alarm-time", "alarmTime", Column::Time},
    {"due-time", "dueTime", Column::Time},
};
inline constexpr Column kMemoColumns[] = {
    {"mid", "mid", Column::Text},
    {"pid", "pid", Column::Text},
    {"content", "content", Column::Text},
    {"assign-time", "assignTime", Column::Time},
    {"create-time", "createTime", Column::Time},
    {"edit-time", "editTime", Column::Time},
};

// A column of the query's current row as the writers put it in a record.
QString ColumnText(const Query& q, int index, Column::Kind kind, int bias);

} // namespace Interchange
