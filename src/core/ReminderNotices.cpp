#include "ReminderNotices.h"

#include "TaskRules.h"
#include "TaskTreeModel.h"
#include "platform/Clock.h"

#include <QCoreApplication>

namespace {

// A burst names this many tasks in the body; the rest are counted.
constexpr int kListed = 5;

QString dueText(const TTaskInfo& t, TDateTime now) {
    if (!t.dueFlag)
        return {};
    QString text = QCoreApplication::translate("Tasks", "Due date: ") +
                   (IsWholeDay(t.dueTime) ? ShortDateText(t.dueTime) : DateTimeText(t.dueTime));
    if (Overdue(t, now))
        text += ReminderNotices::tr(" (overdue)");
    return text;
}

} // namespace

ReminderNotices::ReminderNotices(DesktopNotifications& server, const QString& iconPath,
                                 TDateTime period, QObject* parent)
    : QObject(parent), m_server(server), m_iconPath(iconPath), m_period(period) {
    connect(&server, &DesktopNotifications::actionInvoked, this, &ReminderNotices::onAction);
    connect(&server, &DesktopNotifications::closed, this, &ReminderNotices::onClosed);
    connect(&server, &DesktopNotifications::serverChanged, this, &ReminderNotices::onServerChanged);
}

ReminderNotices::~ReminderNotices() {
    withdraw();
}

DesktopNote ReminderNotices::NoteFor(const std::vector<const TaskNode*>& due, TDateTime now,
                                     const QString& iconPath) {
    DesktopNote note;
    note.iconPath = iconPath;
    for (const TaskNode* n : due)
        note.critical = note.critical || Overdue(n->info, now);
    if (due.size() == 1) {
        const TTaskInfo& t = due.front()->info;
        note.summary = t.content.isEmpty() ? tr("Task Reminder") : t.content;
        note.body = dueText(t, now);
        note.actions = {{QStringLiteral("snooze"), tr("Snooze")},
                        {QStringLiteral("dismiss"), tr("Dismiss")},
                        {QStringLiteral("complete"), tr("Complete")}};
    } else {
        note.summary = tr("%1 reminders due").arg(due.size());
        QStringList lines;
        for (const TaskNode* n : due) {
            if (lines.size() == kListed) {
                lines << tr("and %1 more").arg(qsizetype(due.size()) - kListed);
                break;
            }
            lines << n->info.content.section(u'\n', 0, 0);
        }
        note.body = lines.join(u'\n');
        note.actions = {{QStringLiteral("snooze"), tr("Snooze all")},
                        {QStringLiteral("dismiss"), tr("Dismiss all")},
                        {QStringLiteral("complete"), tr("Complete all")}};
    }
    note.actions.append({QStringLiteral("default"), tr("Open")});
    return note;
}

bool ReminderNotices::quiet(const QString& tid, TDateTime now) const {
    const auto it = m_quietUntil.constFind(tid);
    return it != m_quietUntil.constEnd() && now < *it;
}

bool ReminderNotices::offer(const std::vector<TaskNode*>& due, TDateTime now, bool* burstStarts) {
    if (burstStarts)
        *burstStarts = false;
    std::vector<const TaskNode*> showing;
    QStringList tids;
    for (const TaskNode* n : due)
        if (!quiet(n->info.tid, now)) {
            showing.push_back(n);
            tids << n->info.tid;
        }
    for (auto it = m_quietUntil.begin(); it != m_quietUntil.end();)
        it = now < *it ? std::next(it) : m_quietUntil.erase(it);
    if (tids == m_shown)
        return true;
    if (tids.isEmpty()) {
        withdraw();
        return true;
    }
    const bool wasEmpty = m_shown.isEmpty();
    const DesktopNote note = NoteFor(showing, now, m_iconPath);
    const quint32 id = m_server.show(note, m_id);
    if (!id) {
        m_id = 0;
        m_shown.clear();
        return false;
    }
    m_id = id;
    m_shown = tids;
    m_note = note;
    if (burstStarts)
        *burstStarts = wasEmpty;
    return true;
}

void ReminderNotices::withdraw() {
    if (m_id)
        m_server.close(std::exchange(m_id, 0), true);
    m_shown.clear();
}

void ReminderNotices::quieten(const QStringList& tids, TDateTime now) {
    for (const QString& tid : tids)
        m_quietUntil.insert(tid, now + m_period);
}

void ReminderNotices::onAction(quint32 id, const QString& key) {
    if (!id || id != m_id)
        return;
    const QStringList tids = std::exchange(m_shown, {});
    m_id = 0;
    // It stays on the screen after a button; the answer is ours to end it.
    m_server.close(id);
    Answer answer = Answer::Open;
    if (key == QLatin1String("snooze"))
        answer = Answer::Snooze;
    else if (key == QLatin1String("dismiss"))
        answer = Answer::Dismiss;
    else if (key == QLatin1String("complete"))
        answer = Answer::Complete;
    else
        quieten(tids, Clock::Now()); // looked at in the window, still due
    emit answered(tids, answer);
}

void ReminderNotices::onClosed(quint32 id, quint32 reason) {
    Q_UNUSED(reason); // expired, closed by the user or by the server: all unanswered
    if (!id || id != m_id)
        return;
    m_id = 0;
    quieten(std::exchange(m_shown, {}), Clock::Now());
}

void ReminderNotices::onServerChanged() {
    // Its notifications went with it, unanswered.
    if (!m_id)
        return;
    m_id = 0;
    quieten(std::exchange(m_shown, {}), Clock::Now());
}
