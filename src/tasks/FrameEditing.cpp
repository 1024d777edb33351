#include "TzvTasksFrame.h"

#include "TaskDelegate.h"
#include "TaskTree.h"
#include "core/TaskHistory.h"
#include "core/TaskRules.h"
#include "core/TaskStore.h"
#include "gui/AppContext.h"
#include "gui/BusyProgress.h"
#include "gui/Messages.h"
#include "gui/pU_Boxes.h"
#include "platform/Transaction.h"
#include "platform/pU_Funcs.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>

// Adding, editing in place, deleting and completing tasks, and the keys of
// the tree that run them.

void TzvTasksFrame::SwitchCompleteToAll() {
    // A new task is incomplete: "View Complete" would hide it.
    if (Comb_ViewRange->currentIndex() == ViewComplete)
        Comb_ViewRange->setCurrentIndex(ViewAll);
}

void TzvTasksFrame::Action_TaskAddExecute() {
    if (m_editingNode)
        return;
    SwitchCompleteToAll();
    TTaskInfo info;
    info.pid = RootPid();
    m_editingNode = m_model->appendTopLevel(std::move(info));
    PostTaskMessage(this, WM_TASKS_EDIT);
    UpdateCommands();
}

void TzvTasksFrame::Action_SubTaskAddExecute() {
    if (m_editingNode)
        return;
    SwitchCompleteToAll();
    const auto selected = SelectedNodes();
    TaskNode* parent = !selected.empty()             ? selected.front()
                       : m_model->topLevel().empty() ? nullptr
                                                     : m_model->topLevel().back().get();
    if (parent && !parent->isTopLevel())
        parent = parent->parent();
    if (!parent) {
        TipBox(tr("Please select a task!"));
        return;
    }
    TTaskInfo info;
    info.pid = parent->info.tid;
    m_editingNode = m_model->appendChild(parent, std::move(info));
    PostTaskMessage(this, WM_TASKS_EDIT);
    UpdateCommands();
}

void TzvTasksFrame::Action_TaskEditExecute() {
    const auto selected = SelectedNodes();
    if (m_editingNode || selected.empty())
        return;
    m_editingNode = selected.front();
    Remeasure(m_editingNode);
    PostTaskMessage(this, WM_TASKS_EDIT);
    UpdateCommands();
}

void TzvTasksFrame::VtTasksEditRequest(const QModelIndex& index) {
    // The tree's own requests restart through the one deferred path.
    TaskNode* node = m_model->nodeAt(index);
    if (m_editingNode || !node)
        return;
    m_editingNode = node;
    Remeasure(node);
    PostTaskMessage(this, WM_TASKS_EDIT);
    UpdateCommands();
}

void TzvTasksFrame::OpenEditor() {
    if (!m_editingNode)
        return;
    ShowTip(2);
    QModelIndex index = m_model->indexOf(m_editingNode);
    if (!index.isValid()) {
        // Hidden by the filter: show it so it can be edited.
        m_editingNode->setHidden(false);
        if (TaskNode* p = m_editingNode->parent())
            p->setHidden(false);
        if (m_model->refreshVisibility())
            RestoreShownExpansion();
        index = m_model->indexOf(m_editingNode);
    }
    VtTasks->scrollTo(index); // expands a collapsed parent, which is stored
    VtTasks->setCurrentIndex(index);
    Remeasure(m_editingNode);
    VtTasks->edit(index);
    UpdateCommands();
}

QWidget* TzvTasksFrame::openEditor() const {
    const QModelIndex index = m_model->indexOf(m_editingNode);
    return index.isValid() ? VtTasks->indexWidget(index) : nullptr;
}

void TzvTasksFrame::FinishEdit() {
    if (QWidget* editor = openEditor())
        m_delegate->keepAndClose(editor);
}

void TzvTasksFrame::Remeasure(TaskNode* node) {
    m_model->nodeChanged(node);
    VtTasks->doItemsLayout();
}

void TzvTasksFrame::EditorKeep(TaskNode* node, const QString& text) {
    if (!node)
        return;
    const TTaskInfo before = node->info;
    node->info.content = StorableText(TrimRight(text));
    m_model->nodeChanged(node); // the search below must see the new text
    const TDateTime now = Clock::Now();
    try {
        Transaction transaction(m_context.db);
        const bool adding = node->info.tid.isEmpty();
        TaskStepRecorder step(m_context.db, !adding              ? tr("Edit")
                                            : node->isTopLevel() ? tr("Add Task")
                                                                 : tr("Add Sub-Task"));
        if (adding) {
            TaskStore::StampNewTask(node->info, now);
            step.watch(node->info.tid);
            TaskStore::Insert(ADOQuery1, node->info);
        } else {
            step.watch(node);
            node->info.editTime = now;
            TaskStore::WriteContent(ADOQuery1, node->info.tid, node->info.content, now);
        }
        TaskStep done = step.finish();
        transaction.commit();
        PushStep(std::move(done));
    } catch (const std::exception& e) {
        // The tree shows what is stored; the typed text waits in the editor.
        node->info = before;
        m_model->nodeChanged(node);
        m_keepError = QString::fromUtf8(e.what());
        m_keepText = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    ApplyFilter();
    UpdateCommands();
}

void TzvTasksFrame::EditorEnd(TaskNode* node) {
    m_editingNode = nullptr;
    if (!m_keepError.isEmpty()) {
        ShowError(std::exchange(m_keepError, QString()));
        // Not thrown away: the editor opens again with what was typed.
        if (node && m_model->contains(node)) {
            m_delegate->openNextWith(std::exchange(m_keepText, QString()));
            m_editingNode = node;
            PostTaskMessage(this, WM_TASKS_EDIT);
            UpdateCommands();
            return;
        }
    }
    if (node && (!node->info.tid.isEmpty() || !node->info.content.isEmpty())) {
        Remeasure(node);
        const QModelIndex index = m_model->indexOf(node);
        if (index.isValid())
            VtTasks->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows);
        // The row may have been selected already, which reports no change;
        // the status bar must describe the row as saved.
        VtTasksChange();
        ShowTip(0);
    } else if (node) {
        PostTaskMessage(this, WM_TASKS_DELETE_NODE, node);
    }
    UpdateCommands();
}

void TzvTasksFrame::EditorCancel(TaskNode* node) {
    if (m_editingNode) {
        m_editingNode = nullptr;
        if (node && !node->info.tid.isEmpty()) {
            Remeasure(node);
            ShowTip(0);
        } else if (node) {
            PostTaskMessage(this, WM_TASKS_DELETE_NODE, node);
        }
    }
    UpdateCommands();
}

void TzvTasksFrame::DeleteUnsavedNode(TaskNode* node) {
    // The row may have gone meanwhile (a reload): only a row still in the
    // tree, and never a saved one, is removed.
    if (m_model->contains(node) && node->info.tid.isEmpty() && node != m_editingNode)
        m_model->removeNode(node);
    ShowTip(0);
}

void TzvTasksFrame::Action_TaskDeleteExecute() {
    const auto asked = SelectedNodes();
    if (m_editingNode || asked.empty())
        return;
    const QString question = tr("Are you sure you want to delete ") +
                             (asked.size() == 1 ? tr("this task?") : tr("these tasks?"));
    const QStringList tids = TidsOf(asked);
    if (AskBox(question) != IDOK)
        return;
    const auto selected = NodesOf(tids);
    if (m_editingNode || selected.empty())
        return;
    // Every row and its sub-tasks, or none of them.
    BusyProgress busy = Busy(tr("Deleting"), qsizetype(selected.size()));
    Transaction transaction(m_context.db);
    TaskStepRecorder step(m_context.db, tr("Delete"));
    ForEachBatch(selected, busy, [&](const std::vector<TaskNode*>& part, const QStringList& ids) {
        step.watch(part, true);
        TaskStore::Delete(ADOQuery1, ids);
    });
    TaskStep done = step.finish();
    transaction.commit();
    VtTasks->clearSelection();
    if (m_model->removeNodes(selected)) // a task goes with its sub-tasks
        RestoreExpansion();
    ApplyFilter();
    PushStep(std::move(done));
    UpdateCommands();
}

void TzvTasksFrame::Action_TaskCompleteExecute() {
    const auto selected = SelectedNodes();
    if (m_editingNode || selected.empty())
        return;
    const bool state = !selected.front()->info.checkFlag;
    std::vector<TaskNode*> changing;
    for (TaskNode* node : selected)
        if (node->info.checkFlag != state)
            changing.push_back(node);
    StoreChecked(changing, state);
}

// Stored first, every row or none: a box never shows a tick the table lacks.
void TzvTasksFrame::StoreChecked(const std::vector<TaskNode*>& nodes, bool checked) {
    const TDateTime now = Clock::Now();
    BusyProgress busy =
        Busy(checked ? tr("Marking complete") : tr("Marking incomplete"), qsizetype(nodes.size()));
    Transaction transaction(m_context.db);
    TaskStepRecorder step(m_context.db, checked ? tr("Mark Complete") : tr("Unmark Complete"));
    ForEachBatch(nodes, busy, [&](const std::vector<TaskNode*>& part, const QStringList& ids) {
        step.watch(part);
        TaskStore::WriteFlagAndTime(ADOQuery1, ids, QStringLiteral("checkFlag"), checked,
                                    QStringLiteral("checkTime"), now);
    });
    TaskStep done = step.finish();
    transaction.commit();
    for (TaskNode* node : nodes) {
        node->info.checkTime = now;
        node->info.checkFlag = checked;
    }
    m_model->nodesChanged(nodes);
    ApplyFilter();
    PushStep(std::move(done));
    VtTasksChange(); // the status bar tells the new state of the row
}

bool TzvTasksFrame::VtTasksKeyDown(QKeyEvent* e) {
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ctrl ? Action_SubTaskAddExecute() : Action_TaskAddExecute();
        return true;
    case Qt::Key_Delete:
        Action_TaskDeleteExecute();
        return true;
    case Qt::Key_C:
        if (!ctrl)
            return false;
        Action_CopyTask->trigger();
        return true;
    case Qt::Key_V:
        if (!ctrl)
            return false;
        Action_PasteTask->trigger();
        return true;
    case Qt::Key_A:
        if (!ctrl)
            return false;
        Action_SelectAllExecute();
        return true;
    case Qt::Key_F12:
        if (!ctrl)
            return false;
        m_context.actions.close->trigger();
        return true;
    default:
        return false;
    }
}
