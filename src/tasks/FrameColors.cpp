#include "TzvTasksFrame.h"

#include "TaskDialogs.h"
#include "TaskTree.h"
#include "core/TaskHistory.h"
#include "core/TaskStore.h"
#include "gui/AppContext.h"
#include "gui/BusyProgress.h"
#include "platform/Transaction.h"

#include <QScopeGuard>

// Set Color: the text and background colours of the selected tasks.

void TzvTasksFrame::Action_SetColorExecute() {
    const auto asked = SelectedNodes();
    if (m_editingNode || asked.empty())
        return;
    TColorSetDlg dlg(this, asked.front()->info.textColor, asked.front()->info.backgroundColor);
    const QStringList tids = TidsOf(asked);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const auto selected = NodesOf(tids);
    if (selected.empty())
        return;
    // Stored first, for every row or none; the rows then show it.
    BusyProgress busy = Busy(tr("Setting colors"), qsizetype(selected.size()));
    Transaction transaction(m_context.db);
    TaskStepRecorder step(m_context.db, tr("Set Color"));
    ForEachBatch(selected, busy, [&](const std::vector<TaskNode*>& part, const QStringList& ids) {
        step.watch(part);
        TaskStore::WriteColors(ADOQuery1, ids, dlg.textColor, dlg.backgroundColor);
    });
    TaskStep done = step.finish();
    transaction.commit();
    PushStep(std::move(done));
    VtTasks->setUpdatesEnabled(false);
    const auto resume = qScopeGuard([this] { VtTasks->setUpdatesEnabled(true); });
    for (TaskNode* node : selected) {
        node->info.textColor = dlg.textColor;
        node->info.backgroundColor = dlg.backgroundColor;
    }
    m_model->nodesChanged(selected);
}
