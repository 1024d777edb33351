#pragma once

#include "platform/Clock.h"

#include <QString>

// The working copy of one row of the tasks table.
// The members the passes over every row read come first.
struct TTaskInfo {
    QString content;
    bool checkFlag = false;
    bool dueFlag = false;
    bool alarmFlag = false;
    bool expandFlag = false; // top-level rows only
    qint32 textColor = 0;
    qint32 backgroundColor = 0;
    QString tid; // empty until the row is first saved
    QString pid; // "root" or the parent's tid
    TDateTime createTime = 0;
    TDateTime editTime = 0;
    TDateTime checkTime = 0;
    TDateTime alarmTime = 0;
    TDateTime dueTime = 0;
};

inline const QString& RootPid() {
    static const QString root = QStringLiteral("root");
    return root;
}
