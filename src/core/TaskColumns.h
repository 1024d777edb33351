#pragma once

#include "platform/Database.h"

#include <QLatin1String>

// Where each column of a task row is, in a result or in a row image: found
// by name once, a missing one reported as the load reports it.
struct TaskColumnIndexes {
    int tid, pid, content, checkFlag, dueFlag, alarmFlag, expandFlag, textColor, backgroundColor,
        createTime, editTime, checkTime, alarmTime, dueTime;
    // indexOf(name) gives a column's index, -1 when there is none.
    template <typename IndexOf> explicit TaskColumnIndexes(IndexOf indexOf) {
        const auto f = [&](const char* n) {
            const int i = indexOf(QLatin1String(n));
            if (i < 0)
                throw DbError(QStringLiteral("Field '%1' not found.").arg(QLatin1String(n)));
            return i;
        };
        tid = f("tid"), pid = f("pid"), content = f("content"), checkFlag = f("checkFlag");
        dueFlag = f("dueFlag"), alarmFlag = f("alarmFlag"), expandFlag = f("expandFlag");
        textColor = f("textColor"), backgroundColor = f("backgroundColor");
        createTime = f("createTime"), editTime = f("editTime"), checkTime = f("checkTime");
        alarmTime = f("alarmTime"), dueTime = f("dueTime");
    }
};
