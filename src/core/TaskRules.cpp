#include "TaskRules.h"

#include "TaskTreeModel.h"
#include "platform/Database.h"
#include "platform/pU_Funcs.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>

namespace {
inline char16_t foldAZ(char16_t c) {
    return (c >= u'a' && c <= u'z') ? c - 32 : c;
}
} // namespace

int CompareTextAZ(QStringView a, QStringView b) {
    const qsizetype n = std::min(a.size(), b.size());
    const char16_t* pa = reinterpret_cast<const char16_t*>(a.constData());
    const char16_t* pb = reinterpret_cast<const char16_t*>(b.constData());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = foldAZ(pa[i]), y = foldAZ(pb[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void SortTaskTree(TaskTreeModel& model, bool ascending) {
    model.sortSiblings(CompareTextAZ, ascending);
}

std::vector<TaskNode*> ApplyFilterRules(TaskTreeModel& model, int range, bool searchActive,
                                        const QString& searchText) {
    const bool searching = searchActive && !searchText.isEmpty();
    if (searching)
        model.matchSearch(searchText);
    const auto visible = [&](const TaskNode* n) {
        if ((n->info.checkFlag && range == ViewIncomplete) ||
            (!n->info.checkFlag && range == ViewComplete))
            return false;
        return !searching || n->searchHit();
    };
    std::vector<TaskNode*> expand;
    for (const auto& top : model.topLevel()) {
        top->setHidden(!visible(top.get()));
        bool wantsExpand = false;
        for (const auto& child : top->children()) {
            const bool v = visible(child.get());
            child->setHidden(!v);
            if (v) {
                top->setHidden(false);
                wantsExpand = wantsExpand || searching;
            }
        }
        if (wantsExpand)
            expand.push_back(top.get());
    }
    return expand;
}

QString ShortDateText(double dt) {
    return QLocale().toString(DatePart(dt), QLocale::ShortFormat);
}

QString DateTimeText(double dt) {
    const QTime t = TimePart(dt);
    if (t.msecsSinceStartOfDay() == 0)
        return ShortDateText(dt);
    return ShortDateText(dt) + u' ' + QLocale().toString(t, LongTimeFormat(QLocale()));
}

QString LongTimeFormat(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (QChar ch : format) {
        if (ch == u'\'')
            quoted = !quoted;
        if (quoted || ch != u't')
            out += ch;
    }
    return out.simplified();
}

QString RowTextFor(const TaskNode& node, bool listView, bool dateView, bool editing,
                   bool hotExpanded) {
    const TTaskInfo& t = node.info;
    if (t.content.isEmpty() && !editing)
        return QCoreApplication::translate("Tasks", "Input content here");
    if (editing)
        return t.content;
    QString text = t.content;
    if (dateView) {
        text += QCoreApplication::translate("Tasks", " -- Created: ") + ShortDateText(t.createTime);
        if (t.checkFlag) {
            text +=
                QCoreApplication::translate("Tasks", "  Completed: ") + ShortDateText(t.checkTime);
        } else {
            if (t.dueFlag)
                text += QCoreApplication::translate("Tasks", "  Due: ") + ShortDateText(t.dueTime);
            if (t.alarmFlag)
                text +=
                    QCoreApplication::translate("Tasks", "  Alarm: ") + DateTimeText(t.alarmTime);
        }
    }
    if (listView) {
        if (!hotExpanded)
            text = FlattenLineBreaks(text);
        const int number = node.position() + 1;
        text = node.isTopLevel() ? QString::number(number) + QStringLiteral(". ") + text
                                 : u'(' + QString::number(number) + u')' + text;
    }
    return text;
}

namespace {
// Earlier by at least a millisecond: the stored values are day fractions.
bool before(TDateTime a, TDateTime b) {
    return (b - a) * 86400000.0 >= 1.0 - 1e-6;
}
} // namespace

QTime WholeDayTime() {
    return QTime(23, 59, 59);
}

bool IsWholeDay(TDateTime due) {
    return due != 0 && TimePart(due) == WholeDayTime();
}

bool Overdue(const TTaskInfo& t, TDateTime now) {
    if (t.checkFlag || !t.dueFlag)
        return false;
    if (IsWholeDay(t.dueTime))
        return DatePart(now) > DatePart(t.dueTime);
    return before(t.dueTime, now);
}

int RowIcon(const TTaskInfo& t, TDateTime now) {
    if (t.checkFlag)
        return -1;
    if (t.alarmFlag)
        return 22;
    if (t.dueFlag)
        return Overdue(t, now) ? 23 : 24;
    return -1;
}

RowLook RowLookFor(const TTaskInfo& t, TDateTime now, bool editing, bool selected) {
    RowLook look;
    look.bold = Overdue(t, now);
    if (editing)
        return look;
    if (t.checkFlag) {
        look.italic = true;
        look.grey = !selected;
    } else if (t.content.isEmpty()) {
        look.italic = look.grey = true;
    } else {
        look.color = t.textColor;
    }
    return look;
}

QString StatusTextFor(const TTaskInfo& t) {
    if (t.checkFlag)
        return DateTimeText(t.checkTime) + QCoreApplication::translate("Tasks", " completed");
    QString text;
    if (t.dueFlag)
        text += QCoreApplication::translate("Tasks", "Due date: ") + ShortDateText(t.dueTime);
    if (!text.isEmpty())
        text += QStringLiteral("  ");
    if (t.alarmFlag)
        text += QCoreApplication::translate("Tasks", "Reminder time: ") + DateTimeText(t.alarmTime);
    if (text.isEmpty() && t.createTime != 0) // a row not yet stored has no time
        text = DateTimeText(t.createTime) + QCoreApplication::translate("Tasks", " created");
    return text;
}

namespace {
bool ReminderDue(const TaskNode* n, TDateTime now) {
    const TTaskInfo& t = n->info;
    return !t.checkFlag && t.alarmFlag && (t.alarmTime - now) * 86400000.0 < 1.0;
}
} // namespace

TaskNode* FirstDueReminder(const TaskTreeModel& model, TDateTime now) {
    for (TaskNode* n : model.flatNodes())
        if (ReminderDue(n, now))
            return n;
    return nullptr;
}

std::vector<TaskNode*> DueReminders(const TaskTreeModel& model, TDateTime now) {
    std::vector<TaskNode*> due;
    for (TaskNode* n : model.flatNodes())
        if (ReminderDue(n, now))
            due.push_back(n);
    return due;
}

QString BuildTrayHint(Database& db, int hintSize) {
    Query q(db);
    // Only the first four are shown: the engine keeps the four smallest as
    // it scans instead of sorting every open task at each reload.
    OpenQuery(q,
              QStringLiteral(
                  "select content from tasks where checkFlag=False order by content ASC limit 4"));
    QString hint = QCoreApplication::translate("Tasks", "Incomplete Tasks:");
    int n = 1;
    const int contentCol = q.fieldIndex(QStringLiteral("content"));
    for (; !q.eof(); q.next()) {
        QString text = FlattenLineBreaks(q.text(contentCol));
        if (text.size() > hintSize)
            text = text.left(std::max(hintSize, 0)) + QStringLiteral("...");
        hint += QStringLiteral("\r(%1) ").arg(n) + text;
        if (n == 4) {
            hint += QStringLiteral("\r ...");
            break;
        }
        ++n;
    }
    if (n == 1)
        hint += QStringLiteral("\rNone");
    return hint;
}

std::vector<TaskNode*> MoveTargetsFor(const TaskTreeModel& model, const TaskNode* first) {
    std::vector<TaskNode*> targets;
    if (!first->isTopLevel())
        targets.push_back(nullptr); // the top level, "Root"
    for (const auto& t : model.topLevel())
        if (t.get() != first && t.get() != first->parent())
            targets.push_back(t.get());
    return targets;
}

int MoveTargetCount(const TaskTreeModel& model, const TaskNode* first) {
    const int tops = static_cast<int>(model.topLevel().size());
    return first->isTopLevel() ? tops - 1 : tops; // "Root" stands in for the parent
}
