#include "SyncedFields.h"

#include <cmath>

namespace SyncedFields {

namespace {

struct Entry {
    Field field;
    QStringList columns;
};

const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries{
        {Parent, {QStringLiteral("pid")}},
        {Content, {QStringLiteral("content")}},
        {Completion, {QStringLiteral("checkFlag"), QStringLiteral("checkTime")}},
        {Due, {QStringLiteral("dueFlag"), QStringLiteral("dueTime")}},
        {Reminder, {QStringLiteral("alarmFlag"), QStringLiteral("alarmTime")}},
        {TextColor, {QStringLiteral("textColor")}},
        {BackgroundColor, {QStringLiteral("backgroundColor")}},
    };
    return entries;
}

bool SameTime(bool fa, TDateTime ta, bool fb, TDateTime tb) {
    return fa == fb && (!fa || Seconds(ta) == Seconds(tb));
}

} // namespace

qint64 Seconds(TDateTime v) {
    return std::llround(v * 86400.0);
}

Version Of(const TTaskInfo& t) {
    return {t, t.pid == RootPid() ? QString() : t.pid};
}

QStringList Columns() {
    QStringList out;
    for (const Entry& e : Entries())
        out << e.columns;
    return out;
}

unsigned Differing(const Version& a, const Version& b) {
    const TTaskInfo& x = a.info;
    const TTaskInfo& y = b.info;
    unsigned out = 0;
    const auto differ = [&out](Field f, bool d) { out |= d ? unsigned(f) : 0u; };
    differ(Parent, a.parent != b.parent);
    // A line break is the same with or without its carriage return.
    differ(Content, QString(x.content).remove(u'\r') != QString(y.content).remove(u'\r'));
    differ(Completion, !SameTime(x.checkFlag, x.checkTime, y.checkFlag, y.checkTime));
    differ(Due, !SameTime(x.dueFlag, x.dueTime, y.dueFlag, y.dueTime));
    differ(Reminder, !SameTime(x.alarmFlag, x.alarmTime, y.alarmFlag, y.alarmTime));
    differ(TextColor, x.textColor != y.textColor);
    differ(BackgroundColor, x.backgroundColor != y.backgroundColor);
    return out;
}

void Take(Version& to, const Version& from, unsigned fields) {
    TTaskInfo& t = to.info;
    const TTaskInfo& f = from.info;
    if (fields & Parent)
        to.parent = from.parent;
    if (fields & Content)
        t.content = f.content;
    if (fields & Completion) {
        t.checkFlag = f.checkFlag;
        t.checkTime = f.checkTime;
    }
    if (fields & Due) {
        t.dueFlag = f.dueFlag;
        t.dueTime = f.dueTime;
    }
    if (fields & Reminder) {
        t.alarmFlag = f.alarmFlag;
        t.alarmTime = f.alarmTime;
    }
    if (fields & TextColor)
        t.textColor = f.textColor;
    if (fields & BackgroundColor)
        t.backgroundColor = f.backgroundColor;
}

} // namespace SyncedFields
