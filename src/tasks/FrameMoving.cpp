#include "TzvTasksFrame.h"

#include "TaskTree.h"
#include "core/TaskHistory.h"
#include "core/TaskRules.h"
#include "core/TaskStore.h"
#include "gui/AppContext.h"
#include "gui/BusyProgress.h"
#include "platform/Transaction.h"

#include <QAction>
#include <QMenu>

// Moving the selected tasks under another task or to the top level, by the
// Move To menus or by drag and drop.

std::vector<TaskNode*> TzvTasksFrame::MoveTargets() const {
    const auto selected = SelectedNodes();
    return selected.empty() ? std::vector<TaskNode*>() : MoveTargetsFor(*m_model, selected.front());
}

void TzvTasksFrame::FillMoveToMenu(QMenu* menu) {
    menu->clear();
    if (m_editingNode)
        return;
    for (TaskNode* target : MoveTargets()) {
        if (!target) {
            menu->addAction(tr("Root"))->setData(QStringLiteral("root"));
            menu->addSeparator();
            continue;
        }
        QAction* item = menu->addAction(target->info.content);
        item->setData(QVariant::fromValue(static_cast<void*>(target)));
    }
}

void TzvTasksFrame::Action_MoveToExecute(QAction* item) {
    // Only the items of the Move To menus carry a target.
    if (!item || m_editingNode || !item->data().isValid())
        return;
    TaskNode* target = nullptr;
    if (item->data().typeId() != QMetaType::QString) {
        target = static_cast<TaskNode*>(item->data().value<void*>());
        // The menu was filled when it opened; the task may have gone since.
        const auto& tops = m_model->topLevel();
        if (std::none_of(tops.begin(), tops.end(),
                         [&](const auto& t) { return t.get() == target; }))
            return;
    }
    MoveSelectedTo(target, true);
}

void TzvTasksFrame::VtTasksDragDrop(const QModelIndex& index) {
    if (m_editingNode)
        return;
    TaskNode* target = m_model->nodeAt(index);
    if (target && !target->isTopLevel())
        target = target->parent(); // a sub-task is never a target
    MoveSelectedTo(target, false);
}

void TzvTasksFrame::MoveSelectedTo(TaskNode* target, bool first) {
    const auto selected = SelectedNodes();
    if (selected.empty())
        return;
    std::vector<TaskNode*> rows;
    for (TaskNode* row : selected) {
        if (row == target)
            continue; // its own target: it stays, nothing is written
        if (!target && row->isTopLevel() && first)
            continue; // already at the top level
        rows.push_back(row);
    }
    if (rows.empty())
        return;
    const QString pid = target ? target->info.tid : RootPid();
    // Stored first, every row or none: a move that stopped half-way would
    // leave sub-tasks under a sub-task, shown nowhere. A task's own sub-tasks
    // come along under a new parent, so each gets it too.
    BusyProgress busy = Busy(tr("Moving"), qsizetype(rows.size()));
    Transaction transaction(m_context.db);
    TaskStepRecorder step(m_context.db, first ? tr("Move to") : tr("Drag and Drop"));
    if (target)
        step.watch(target);
    ForEachBatch(rows, busy, [&](const std::vector<TaskNode*>& part, QStringList ids) {
        step.watch(part, true);
        if (target)
            for (const TaskNode* row : part)
                for (const auto& child : row->children())
                    if (!child->info.tid.isEmpty())
                        ids << child->info.tid;
        TaskStore::WriteParent(ADOQuery1, ids, pid);
    });
    if (target && !rows.empty())
        StoreExpand(target, true);
    TaskStep done = step.finish();
    transaction.commit();
    PushStep(std::move(done));

    VtTasks->clearSelection();
    for (TaskNode* n : m_model->moveNodes(rows, target, first))
        n->info.pid = pid;
    RestoreExpansion();
    if (target)
        VtTasks->setExpanded(m_model->indexOf(target), true);
    UpdateCommands();
}
