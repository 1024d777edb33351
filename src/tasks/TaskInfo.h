#pragma once

#include "platform/Clock.h"

#include <QString>

// The working copy of one row of the tasks table.
struct TTaskInfo {
    QString tid; // empty until the row is first saved
    QString pid; // "root" or the parent's tid
    QString content;
    bool checkFlag = false;
    bool dueFlag = false;
    bool alarmFlag = false;
    bool expandFlag = false; // top-level rows only
    qint32 textColor = 0;
    qint32 backgroundColor = 0;
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
