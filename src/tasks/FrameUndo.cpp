#include "TzvTasksFrame.h"

#include "TaskTree.h"
#include "components/ZvStatusBar.h"
#include "core/TaskHistory.h"
#include "gui/AppContext.h"
#include "gui/BusyProgress.h"
#include "gui/ImageList.h"
#include "gui/pU_Boxes.h"

#include <QAction>
#include <QScopeGuard>
#include <QUndoStack>

// Undo and Redo: each command that changes stored tasks leaves a step on
// the stack; taking it back writes the rows as they were, through the same
// store, and shows them in the tree as the command would.

namespace {

class TaskUndoCommand : public QUndoCommand {
public:
    TaskUndoCommand(TzvTasksFrame* frame, TaskStep step)
        : QUndoCommand(step.name), m_frame(frame), m_step(std::move(step)) {}
    TaskStep& step() { return m_step; }
    // The stack's own calls: the rows are stored by then; the tree follows.
    void undo() override { m_frame->ShowStep(m_step, true); }
    void redo() override {
        if (std::exchange(m_first, false))
            return; // pushed after the command itself has done it
        m_frame->ShowStep(m_step, false);
    }

private:
    TzvTasksFrame* m_frame;
    TaskStep m_step;
    bool m_first = true;
};

} // namespace

void TzvTasksFrame::CreateUndoActions() {
    const QString kUndo = tr("&Undo"), kRedo = tr("&Redo");
    m_undoStack = new QUndoStack(this);
    // Each step keeps whole rows: a bound on the memory a long session takes.
    m_undoStack->setUndoLimit(100);
    Action_Undo = MakeAction(this, "Action_Undo", kUndo, QString(), -1);
    Action_Undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Action_Redo = MakeAction(this, "Action_Redo", kRedo, QString(), -1);
    Action_Redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(Action_Undo, &QAction::triggered, this,
            [this] { Guarded([this] { UndoStep(true); }); });
    connect(Action_Redo, &QAction::triggered, this,
            [this] { Guarded([this] { UndoStep(false); }); });
    connect(m_undoStack, &QUndoStack::indexChanged, this, [this] { UpdateUndoCommands(); });
}

void TzvTasksFrame::UpdateUndoCommands() {
    const QString kUndo = tr("&Undo"), kRedo = tr("&Redo");
    const QString undo = m_undoStack->undoText();
    const QString redo = m_undoStack->redoText();
    Action_Undo->setText(undo.isEmpty() ? kUndo : kUndo + u' ' + undo);
    Action_Redo->setText(redo.isEmpty() ? kRedo : kRedo + u' ' + redo);
    // In the in-place editor Ctrl+Z is the editor's own.
    Action_Undo->setEnabled(!m_editingNode && m_undoStack->canUndo());
    Action_Redo->setEnabled(!m_editingNode && m_undoStack->canRedo());
}

QUndoStack* TzvTasksFrame::undoStack() const {
    return m_undoStack;
}

void TzvTasksFrame::PushStep(TaskStep step) {
    if (!step.empty())
        m_undoStack->push(new TaskUndoCommand(this, std::move(step)));
}

void TzvTasksFrame::UndoStep(bool undo) {
    if (m_editingNode || !(undo ? m_undoStack->canUndo() : m_undoStack->canRedo()))
        return;
    const int index = undo ? m_undoStack->index() - 1 : m_undoStack->index();
    auto* command =
        static_cast<TaskUndoCommand*>(const_cast<QUndoCommand*>(m_undoStack->command(index)));
    // Stored first: when the table refuses, the box says why and the step
    // stays where it was. Writing takes about two thirds of the time.
    const qsizetype rows = command->step().size();
    BusyProgress busy = Busy(undo ? tr("Undoing") : tr("Redoing"), rows + rows / 2);
    command->step().write(m_context.db, undo, [&busy](qsizetype done) { busy.advance(done); });
    busy.advance(rows);
    m_stepBusy = &busy;
    const auto clear = qScopeGuard([this] { m_stepBusy = nullptr; });
    undo ? m_undoStack->undo() : m_undoStack->redo();
}

void TzvTasksFrame::ShowStep(TaskStep& step, bool undo) {
    m_hotExpandedNode = nullptr;
    bool reset = false;
    const std::vector<TaskNode*> nodes = step.apply(*m_model, undo, &reset);
    if (m_stepBusy)
        m_stepBusy->advance(step.size() + step.size() / 4);
    if (reset)
        RestoreExpansion();
    ApplyFilter(); // the tray hint too
    // The rows the step left are selected, siblings only, as the tree
    // selects; in one selection of runs of rows, however many.
    VtTasks->clearSelection();
    const TaskNode* level = nullptr;
    std::vector<int> rows;
    for (TaskNode* n : nodes) {
        const QModelIndex i = m_model->indexOf(n);
        if (!i.isValid() || (level && n->parent() != level->parent()))
            continue;
        if (!level) {
            level = n;
            if (n->isTopLevel() || VtTasks->isExpanded(i.parent()))
                VtTasks->scrollTo(i);
            VtTasks->selectionModel()->setCurrentIndex(i, QItemSelectionModel::NoUpdate);
        }
        rows.push_back(i.row());
    }
    std::sort(rows.begin(), rows.end());
    QItemSelection selection;
    const QModelIndex parent = level ? m_model->indexOf(level).parent() : QModelIndex();
    for (size_t k = 0; k < rows.size();) {
        size_t end = k;
        while (end + 1 < rows.size() && rows[end + 1] <= rows[end] + 1)
            ++end;
        selection.select(m_model->index(rows[k], 0, parent), m_model->index(rows[end], 0, parent));
        k = end + 1;
    }
    VtTasks->selectionModel()->select(selection,
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    VtTasks->doItemsLayout();
    UpdateCommands();
    VtTasksChange();
    const int restored = step.restoredCount(undo);
    if (restored > 0)
        ZvStatusBar1->setPanelText(restored == 1 ? tr("1 task restored")
                                                 : tr("%1 tasks restored").arg(restored));
}
