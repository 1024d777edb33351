#include "TzvTasksFrame.h"

#include "TaskDialogs.h"
#include "TaskTree.h"
#include "core/TaskHistory.h"
#include "core/TaskRules.h"
#include "core/TaskStore.h"
#include "gui/AppContext.h"
#include "gui/BusyProgress.h"
#include "gui/pU_Boxes.h"
#include "platform/Transaction.h"

#include <QPointer>
#include <QSoundEffect>

// Set Reminder, Set Due Date and the alarm timer with its pop-up or the
// desktop's notification.

namespace {
// The one reminder pop-up; set only while it exists.
TtaskReminderDlg* taskReminderDlg = nullptr;
} // namespace

TtaskReminderDlg* TzvTasksFrame::ReminderPopup() {
    return taskReminderDlg;
}

// Set Reminder and Set Due Date: the first task's pair in the dialog, the
// dialog's pair written to every selected task, each then unselected.
template <typename Dialog>
void TzvTasksFrame::SetFlagAndTime(bool TTaskInfo::*flag, TDateTime TTaskInfo::*time,
                                   const QString& flagName, const QString& timeName,
                                   const QString& stepName) {
    const auto asked = SelectedNodes();
    if (m_editingNode || asked.empty())
        return;
    Dialog dlg(this, asked.front()->info.*flag, asked.front()->info.*time);
    const QStringList tids = TidsOf(asked);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const auto selected = NodesOf(tids);
    if (selected.empty())
        return;
    const bool newFlag = dlg.flag();
    const TDateTime newTime = dlg.time();
    BusyProgress busy = Busy(stepName, qsizetype(selected.size()));
    Transaction transaction(m_context.db);
    TaskStepRecorder step(m_context.db, stepName);
    ForEachBatch(selected, busy, [&](const std::vector<TaskNode*>& part, const QStringList& ids) {
        step.watch(part);
        TaskStore::WriteFlagAndTime(ADOQuery1, ids, flagName, newFlag, timeName, newTime);
    });
    TaskStep done = step.finish();
    transaction.commit();
    PushStep(std::move(done));
    for (TaskNode* node : selected) {
        node->info.*flag = newFlag;
        node->info.*time = newTime;
    }
    if (!m_model->nodesChanged(selected))
        VtTasks->doItemsLayout(); // once: each row's height may have changed
    VtTasks->clearSelection();    // every row set is unselected
}

void TzvTasksFrame::Action_TaskReminderSetExecute() {
    SetFlagAndTime<TReminderSetDlg>(&TTaskInfo::alarmFlag, &TTaskInfo::alarmTime,
                                    QStringLiteral("alarmFlag"), QStringLiteral("alarmTime"),
                                    tr("Set Reminder"));
}

void TzvTasksFrame::Action_TaskDueSetExecute() {
    SetFlagAndTime<TDueSetDlg>(&TTaskInfo::dueFlag, &TTaskInfo::dueTime, QStringLiteral("dueFlag"),
                               QStringLiteral("dueTime"), tr("Set Due Date"));
}

void TzvTasksFrame::Timer1Timer() {
    // The pop-up's modal loop keeps this timer running: one pop-up at a time.
    if (taskReminderDlg)
        return;
    const TDateTime now = Clock::Now();
    if (OfferToDesktop(now))
        return;
    TaskNode* node = FirstDueReminder(*m_model, now);
    // One the desktop showed and that was closed unanswered waits its time.
    if (node && m_notices && m_notices->quiet(node->info.tid, now)) {
        node = nullptr;
        for (TaskNode* n : DueReminders(*m_model, now))
            if (!m_notices->quiet(n->info.tid, now)) {
                node = n;
                break;
            }
    }
    if (!node) {
        m_remindersQuiet = true;
        return;
    }
    const QString tid = node->info.tid;
    QPointer<TzvTasksFrame> self(this);
    bool dismissed = false, all = false, abandoned = false;
    TDateTime snoozeUntil = 0;
    {
        // On the heap: if the frame goes while the pop-up waits, it takes
        // the pop-up with it.
        QPointer<TtaskReminderDlg> dlg =
            new TtaskReminderDlg(this, node->info.content, m_context.alarmSoundPath);
        dlg->setWaiting(int(DueReminders(*m_model, now).size()) - 1);
        // One sound for a burst: the next pop-up of it comes in silence.
        dlg->setSilent(!std::exchange(m_remindersQuiet, false));
        taskReminderDlg = dlg;
        dlg->exec();
        taskReminderDlg = nullptr;
        if (dlg) {
            dismissed = dlg->dismissed;
            snoozeUntil = dlg->snoozeUntil;
            all = dlg->all;
            abandoned = dlg->abandoned;
            delete dlg;
        }
    }
    // The frame or the row may have gone while the pop-up was open; the
    // tree may have been loaded anew, so the row is found again.
    if (!self || abandoned)
        return;
    const auto nodes = all ? DueReminders(*m_model, now) : NodesOf({tid});
    if (!nodes.empty())
        AnswerReminders(nodes, dismissed, snoozeUntil, all);
}

void TzvTasksFrame::AnswerReminders(const std::vector<TaskNode*>& nodes, bool dismissed,
                                    TDateTime snoozeUntil, bool all) {
    // Closed otherwise, a reminder stays due: nothing to take back.
    const bool answered = dismissed || snoozeUntil != 0;
    const QString name = dismissed ? (all ? tr("Dismiss All") : tr("Dismiss"))
                                   : (all ? tr("Snooze All") : tr("Snooze"));
    BusyProgress busy = Busy(name, qsizetype(nodes.size()));
    Transaction transaction(m_context.db);
    TaskStepRecorder step(m_context.db, name);
    ForEachBatch(nodes, busy, [&](const std::vector<TaskNode*>& part, const QStringList& ids) {
        step.watch(part);
        TaskStore::WriteFlagAndTime(ADOQuery1, ids, QStringLiteral("alarmFlag"), !dismissed,
                                    QStringLiteral("alarmTime"), snoozeUntil);
    });
    TaskStep done = step.finish();
    transaction.commit();
    if (answered)
        PushStep(std::move(done));
    for (TaskNode* node : nodes) {
        node->info.alarmFlag = !dismissed;
        node->info.alarmTime = snoozeUntil;
    }
    if (!m_model->nodesChanged(nodes))
        VtTasks->doItemsLayout(); // a layout change lays the rows out anew itself
    VtTasksChange();              // the status bar tells the selected row's new reminder
}

bool TzvTasksFrame::OfferToDesktop(TDateTime now) {
    DesktopNotifications* server = m_context.notifications;
    if (!server || !m_context.options.desktopNotifyEn || !server->usable()) {
        if (m_notices)
            m_notices->withdraw(); // the pop-up takes over what it showed
        return false;
    }
    if (!m_notices) {
        m_notices = new ReminderNotices(
            *server, m_context.shareFolder + QStringLiteral("Images/appIcon.png"),
            TtaskReminderDlg::SnoozeTime(0, 0), this);
        connect(m_notices, &ReminderNotices::answered, this,
                [this](const QStringList& tids, ReminderNotices::Answer answer) {
                    Guarded([&] { AnswerFromDesktop(tids, answer); });
                });
    }
    bool burstStarts = false;
    if (!m_notices->offer(DueReminders(*m_model, now), now, &burstStarts))
        return false;
    if (burstStarts) {
        // Played once a burst, as the pop-up plays it.
        if (!m_alarm) {
            m_alarm = new QSoundEffect(this);
            m_alarm->setSource(QUrl::fromLocalFile(m_context.alarmSoundPath));
        }
        m_alarm->play();
    }
    m_remindersQuiet = m_notices->shownTids().isEmpty();
    return true;
}

void TzvTasksFrame::AnswerFromDesktop(const QStringList& tids, ReminderNotices::Answer answer) {
    using Answer = ReminderNotices::Answer;
    const auto found = NodesOf(tids);
    if (answer == Answer::Open) {
        if (m_context.actions.open)
            m_context.actions.open->trigger();
        if (found.empty())
            return;
        const QModelIndex i = m_model->indexOf(found.front());
        if (!i.isValid())
            return; // hidden by the view or the search
        VtTasks->setExpanded(i.parent(), true);
        VtTasks->setCurrentIndex(i);
        VtTasks->scrollTo(i);
        return;
    }
    // Only what is still as the notification showed it: a reminder answered
    // or a task completed in the window meanwhile is left alone, and the row
    // being edited waits for the next notification.
    std::vector<TaskNode*> nodes;
    for (TaskNode* n : found)
        if (!n->info.checkFlag && n->info.alarmFlag && n != m_editingNode)
            nodes.push_back(n);
    if (nodes.empty())
        return;
    const bool all = tids.size() > 1;
    if (answer == Answer::Snooze)
        AnswerReminders(nodes, false, TtaskReminderDlg::SnoozeTime(0, Clock::Now()), all);
    else if (answer == Answer::Dismiss)
        AnswerReminders(nodes, true, 0, all);
    else
        StoreChecked(nodes, true);
}
