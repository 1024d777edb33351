#include "TzvTasksFrame.h"

#include "TaskDialogs.h"
#include "TaskTree.h"
#include "core/TaskHistory.h"
#include "core/TaskRules.h"
#include "core/TaskStore.h"
#include "gui/AppContext.h"
#include "gui/BusyProgress.h"
#include "platform/Transaction.h"

#include <QPointer>

// Set Reminder, Set Due Date and the alarm timer with its pop-up.

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
    const auto selected = SelectedNodes();
    if (m_editingNode || selected.empty())
        return;
    Dialog dlg(this, selected.front()->info.*flag, selected.front()->info.*time);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const bool newFlag = dlg.flag();
    const TDateTime newTime = dlg.time();
    BusyProgress busy = Busy(stepName, qsizetype(selected.size()));
    Transaction transaction(m_context.db);
    TaskStepRecorder step(m_context.db, stepName);
    qsizetype count = 0;
    for (TaskNode* node : selected) {
        step.watch(node);
        TaskStore::WriteFlagAndTime(ADOQuery1, node->info.tid, flagName, newFlag, timeName,
                                    newTime);
        busy.advance(++count);
    }
    TaskStep done = step.finish();
    transaction.commit();
    PushStep(std::move(done));
    for (TaskNode* node : selected) {
        node->info.*flag = newFlag;
        node->info.*time = newTime;
        m_model->nodeChanged(node);
    }
    VtTasks->doItemsLayout();  // once: each row's height may have changed
    VtTasks->clearSelection(); // every row set is unselected
}

void TzvTasksFrame::Action_TaskReminderSetExecute() {
    SetFlagAndTime<TReminderSetDlg>(&TTaskInfo::alarmFlag, &TTaskInfo::alarmTime,
                                    QStringLiteral("alarmFlag"), QStringLiteral("alarmTime"),
                                    QStringLiteral("Set Reminder"));
}

void TzvTasksFrame::Action_TaskDueSetExecute() {
    SetFlagAndTime<TDueSetDlg>(&TTaskInfo::dueFlag, &TTaskInfo::dueTime, QStringLiteral("dueFlag"),
                               QStringLiteral("dueTime"), QStringLiteral("Set Due Date"));
}

void TzvTasksFrame::Timer1Timer() {
    // The pop-up's modal loop keeps this timer running: one pop-up at a time.
    if (taskReminderDlg)
        return;
    TaskNode* node = FirstDueReminder(*m_model, Clock::Now());
    if (!node)
        return;
    QPointer<TzvTasksFrame> self(this);
    bool dismissed = false;
    TDateTime snoozeUntil = 0;
    {
        // On the heap: if the frame goes while the pop-up waits, it takes
        // the pop-up with it.
        QPointer<TtaskReminderDlg> dlg =
            new TtaskReminderDlg(this, node->info.content, m_context.alarmSoundPath);
        taskReminderDlg = dlg;
        dlg->exec();
        taskReminderDlg = nullptr;
        if (dlg) {
            dismissed = dlg->dismissed;
            snoozeUntil = dlg->snoozeUntil;
            delete dlg;
        }
    }
    // The frame or the row may have gone while the pop-up was open.
    if (!self)
        return;
    if (!m_model->contains(node))
        return;
    // Closed otherwise, the reminder stays due: nothing to take back.
    const bool answered = dismissed || snoozeUntil != 0;
    Transaction transaction(m_context.db);
    TaskStepRecorder step(m_context.db,
                          dismissed ? QStringLiteral("Dismiss") : QStringLiteral("Snooze"));
    step.watch(node);
    TaskStore::WriteFlagAndTime(ADOQuery1, node->info.tid, QStringLiteral("alarmFlag"), !dismissed,
                                QStringLiteral("alarmTime"), snoozeUntil);
    TaskStep done = step.finish();
    transaction.commit();
    if (answered)
        PushStep(std::move(done));
    node->info.alarmFlag = !dismissed;
    node->info.alarmTime = snoozeUntil;
    Remeasure(node);
}
