#include "TzvTasksFrame.h"

#include "TaskTree.h"
#include "core/TaskColumns.h"
#include "core/TaskRules.h"
#include "core/TaskStore.h"
#include "gui/AppContext.h"
#include "gui/Messages.h"
#include "gui/pU_Boxes.h"
#include "platform/IniFile.h"
#include "sync/SyncStore.h"

#include <QItemSelection>
#include <QLineEdit>
#include <QSet>
#include <QUndoStack>

#include <QAction>
#include <QComboBox>
#include <QMenuBar>

// Loading the tree, the posted messages, the stored expansion of each task
// and the notification-area hint.

namespace {
const QString kTask = QStringLiteral("task");
} // namespace

bool TzvTasksFrame::event(QEvent* e) {
    switch (static_cast<int>(e->type())) {
    case QEvent::PaletteChange:
        ApplyThemeColors();
        return QWidget::event(e);
    case WM_TASKS_RELOAD:
        Guarded([this] { ReloadTasks(); });
        return true;
    case WM_TASKS_ATTACH:
        Guarded([this] {
            emit menuBarReady(MainMenu1);
            SortTree();
            if (!m_focusedOnce) {
                VtTasks->setFocus();
                m_focusedOnce = true;
            }
        });
        return true;
    case WM_TASKS_ADD:
        Guarded([this] { Action_TaskAddExecute(); });
        return true;
    case WM_TASKS_EDIT:
        Guarded([this] { OpenEditor(); });
        return true;
    case WM_TASKS_DELETE_NODE:
        Guarded(
            [&] { DeleteUnsavedNode(static_cast<TaskNode*>(static_cast<TaskEvent*>(e)->wParam)); });
        return true;
    default:
        return QWidget::event(e);
    }
}

void TzvTasksFrame::ReloadTasks() {
    m_loading = true;
    m_focusedOnce = false;
    m_editingNode = nullptr;
    m_hotExpandedNode = nullptr;
    m_model->clear();
    m_tipMode = 0;
    // What the steps knew is gone (a start, a restore, an import); the
    // safety copy is the way back from the last two. A sync's changes are
    // no steps of their own and leave the others as they are.
    if (!m_keepSteps)
        m_undoStack->clear();

    const IniFile ini(m_context.configPath);
    Action_ViewList->setChecked(ini.readBool(kTask, QStringLiteral("viewListEn"), false));
    Action_ViewDate->setChecked(ini.readBool(kTask, QStringLiteral("viewDateEn"), false));
    const int range = ini.readInteger(kTask, QStringLiteral("viewRange"), 0);
    Comb_ViewRange->setCurrentIndex(range >= 0 && range < Comb_ViewRange->count() ? range : 0);
    m_sortAscending = ini.readBool(kTask, QStringLiteral("viewAscEn"), true);
    SetSortLook();

    m_loading = false;
    // Without a connection there is nothing to count or show; opening it has
    // already reported why. The load reads every row, so it counts them too:
    // a second pass over the table for count(*) would double the cost.
    if (m_context.db.isOpen()) {
        const int count = LoadTaskTree();
        emit storedCountChanged(count);
        try {
            ini.writeStrings(QStringLiteral("log"),
                             {{QStringLiteral("privateTasks"), QString::number(count)},
                              {QStringLiteral("publicTasks"), QStringLiteral("0")}});
        } catch (const IniWriteError& e) {
            ShowErrorOnce(QString::fromUtf8(e.what())); // the reload goes on
        }
    }
    ApplyFilter();
    UpdateCommands();
    SetSearchIdle();
    RefreshTrayHint();
    VtTasks->setToolTip(tr("Double click to add a Task!"));
    ShowKeyboardTip();
    Timer1->start();
}

int TzvTasksFrame::CountTasks() {
    return ::CountTasks(m_context.db);
}

int TzvTasksFrame::LoadTaskTree() {
    const int count = ::LoadTaskTree(m_context.db, *m_model);
    RestoreExpansion();
    return count;
}

void TzvTasksFrame::RestoreExpansion() {
    m_restoringExpansion = true;
    for (const auto& top : m_model->topLevel())
        RestoreExpanded(top.get());
    m_restoringExpansion = false;
}

// After refreshVisibility(): the rows that stayed keep their expansion.
void TzvTasksFrame::RestoreShownExpansion() {
    m_restoringExpansion = true;
    for (TaskNode* top : m_model->shownAgain())
        RestoreExpanded(top);
    m_restoringExpansion = false;
}

// The stored flag already says so: nothing is written here.
void TzvTasksFrame::RestoreExpanded(TaskNode* top) {
    if (!top->info.expandFlag || top->children().empty())
        return;
    const QModelIndex i = m_model->indexOf(top);
    if (i.isValid() && !VtTasks->isExpanded(i))
        VtTasks->setExpanded(i, true);
}

void TzvTasksFrame::StoreExpand(TaskNode* node, bool expanded) {
    if (!node->isTopLevel() || node->info.expandFlag == expanded)
        return;
    TaskStore::WriteExpandFlag(ADOQuery1, node->info.tid, expanded);
    node->info.expandFlag = expanded;
}

void TzvTasksFrame::VtTasksExpanded(const QModelIndex& index) {
    ExpansionChanged(index, true);
}

void TzvTasksFrame::VtTasksCollapsed(const QModelIndex& index) {
    ExpansionChanged(index, false);
}

// The user opened or closed a task: stored at once.
void TzvTasksFrame::ExpansionChanged(const QModelIndex& index, bool expanded) {
    if (m_restoringExpansion)
        return;
    if (TaskNode* n = m_model->nodeAt(index))
        StoreExpand(n, expanded);
    UpdateCommands();
}

void TzvTasksFrame::RefreshTrayHint() {
    // Opening the connection has reported its failure already.
    if (!m_context.db.isOpen())
        return;
    m_trayHint = BuildTrayHint(m_context.db, m_context.options.hintSize);
    emit trayHintChanged(m_trayHint);
}

void TzvTasksFrame::TakeSyncedChanges() {
    // What the user was looking at stays: the rows chosen, the one with
    // the focus, a search typed.
    QSet<QString> chosen;
    for (const TaskNode* n : SelectedNodes())
        chosen.insert(n->info.tid);
    const TaskNode* at = m_model->nodeAt(VtTasks->currentIndex());
    const QString current = at ? at->info.tid : QString();
    const bool searching = m_searchActive;
    const QString typed = Edt_Search->text();
    const bool searchFocus = Edt_Search->hasFocus();
    // Only the rows the server's changes wrote change in the tree; without
    // that record, everything is read again.
    QStringList touched;
    try {
        touched = SyncStore(m_context.db).takeTouched();
    } catch (const DbError&) {
    }
    if (!touched.isEmpty()) {
        ShowRows(touched);
    } else {
        m_keepSteps = true;
        ReloadTasks();
        m_keepSteps = false;
        if (searching) {
            SearchEnter();
            Edt_Search->setText(typed);
            if (searchFocus)
                Edt_Search->setFocus();
        }
    }
    QItemSelection selection;
    QModelIndex currentIndex;
    m_model->forEachNode([&](TaskNode* n) {
        const QModelIndex i = m_model->indexOf(n);
        if (!i.isValid())
            return;
        if (chosen.contains(n->info.tid))
            selection.select(i, i);
        if (n->info.tid == current)
            currentIndex = i;
    });
    if (currentIndex.isValid())
        VtTasks->selectionModel()->setCurrentIndex(currentIndex, QItemSelectionModel::NoUpdate);
    if (!selection.isEmpty())
        VtTasks->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    UpdateCommands();
}

void TzvTasksFrame::ShowRows(const QStringList& tids) {
    QHash<QString, TTaskInfo> rows;
    constexpr qsizetype batch = 500;
    Query q(m_context.db);
    for (qsizetype at = 0; at < tids.size(); at += batch) {
        const QStringList part = tids.mid(at, batch);
        QStringList marks;
        for (qsizetype i = 0; i < part.size(); ++i)
            marks << u'?' + QString::number(i + 1);
        OpenQuery(q, QStringLiteral("select * from tasks where tid in (%1)").arg(marks.join(u',')),
                  part);
        const TaskQueryColumns columns(q);
        for (; !q.eof(); q.next()) {
            TTaskInfo t = columns.read(q);
            const QString tid = t.tid;
            rows.insert(tid, std::move(t));
        }
        q.close();
    }
    std::vector<TaskTreeModel::RowState> states;
    states.reserve(size_t(tids.size()));
    for (const QString& tid : tids) {
        TaskTreeModel::RowState s;
        s.tid = tid;
        if (const auto r = rows.constFind(tid); r != rows.constEnd())
            s.info = *r;
        states.push_back(std::move(s));
    }
    m_hotExpandedNode = nullptr;
    bool reset = false;
    m_model->applyRows(states, &reset);
    if (reset)
        RestoreExpansion();
    ApplyFilter();
    emit storedCountChanged(CountTasks());
}
