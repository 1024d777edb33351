#pragma once

#include "TaskInfo.h"
#include "platform/DesktopNotifications.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <vector>

class TaskNode;

// Due reminders shown as one desktop notification: one task's text, or a
// count for a burst, with Snooze, Dismiss and Complete, which answer every
// reminder it covers. A notification closed without an answer (or lost
// with its server) leaves its reminders due, quiet for the snooze period.
class ReminderNotices : public QObject {
    Q_OBJECT
public:
    enum class Answer { Snooze, Dismiss, Complete, Open };

    // period: how long a reminder closed without an answer stays quiet.
    ReminderNotices(DesktopNotifications& server, const QString& iconPath, TDateTime period,
                    QObject* parent = nullptr);
    ~ReminderNotices() override; // withdraws what is open

    bool usable() const { return m_server.usable(); }

    // The tick: brings the notification in line with the reminders due now
    // (those not quiet). False when the server failed: the caller's own
    // window takes them. burstStarts: a notification appeared where none
    // was, and the alarm is to sound.
    bool offer(const std::vector<TaskNode*>& due, TDateTime now, bool* burstStarts = nullptr);
    // Closed without an answer a moment ago: not to be raised again yet.
    bool quiet(const QString& tid, TDateTime now) const;
    // Takes the open notification back, its reminders left as they are.
    void withdraw();

    // What is shown now, for the window and the tests.
    const QStringList& shownTids() const { return m_shown; }
    quint32 shownId() const { return m_id; }
    const DesktopNote& shownNote() const { return m_note; }

    // The notification for these due reminders.
    static DesktopNote NoteFor(const std::vector<const TaskNode*>& due, TDateTime now,
                               const QString& iconPath);

signals:
    // The user answered for these tasks' reminders.
    void answered(const QStringList& tids, ReminderNotices::Answer answer);

private:
    void onAction(quint32 id, const QString& key);
    void onClosed(quint32 id, quint32 reason);
    void onServerChanged();
    void quieten(const QStringList& tids, TDateTime now);

    DesktopNotifications& m_server;
    QString m_iconPath;
    TDateTime m_period;
    quint32 m_id = 0;
    QStringList m_shown;
    DesktopNote m_note;
    QHash<QString, TDateTime> m_quietUntil;
};
