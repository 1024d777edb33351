#pragma once

#include "TaskInfo.h"
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

// A task row of a "select *" result read into its working copy.
struct TaskQueryColumns : TaskColumnIndexes {
    explicit TaskQueryColumns(const Query& q)
        : TaskColumnIndexes([&](QLatin1String n) { return q.fieldIndex(n); }) {}
    // Without readPid the caller knows the parent and sets pid itself.
    TTaskInfo read(const Query& q, bool readPid = true) const {
        TTaskInfo t;
        t.tid = q.text(tid);
        // "root" is shared, and a sub-task's pid is given its parent's tid
        // when attached: no copy of either per row.
        if (readPid)
            t.pid = q.textEquals(pid, "root") ? RootPid() : q.text(pid);
        t.content = q.text(content);
        t.checkFlag = q.boolean(checkFlag);
        t.dueFlag = q.boolean(dueFlag);
        t.alarmFlag = q.boolean(alarmFlag);
        t.expandFlag = q.boolean(expandFlag);
        t.textColor = q.integer(textColor);
        t.backgroundColor = q.integer(backgroundColor);
        t.createTime = q.dateTime(createTime);
        t.editTime = q.dateTime(editTime);
        t.checkTime = q.dateTime(checkTime);
        t.alarmTime = q.dateTime(alarmTime);
        t.dueTime = q.dateTime(dueTime);
        return t;
    }
};
