#include "TzvTasksFrame.h"

#include "TaskTree.h"
#include "core/TaskRules.h"
#include "gui/AccessibleIdleText.h"
#include "gui/AppContext.h"
#include "gui/ImageList.h"
#include "platform/IniFile.h"
#include "platform/pU_Funcs.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

// What the tree shows: the view range, list and date view, the sort order,
// expanding and selecting everything, the search box, and a row's text with
// the hover expansion of list view.

namespace {
const QString kTask = QStringLiteral("task");
} // namespace

void TzvTasksFrame::ApplyFilter() {
    FilterRows();
    RefreshTrayHint();
}

void TzvTasksFrame::FilterRows() {
    m_hotExpandedNode = nullptr;
    const auto expand =
        ApplyFilterRules(*m_model, Comb_ViewRange->currentIndex(), m_searchActive, m_searchText);
    if (m_model->refreshVisibility())
        RestoreShownExpansion();
    for (TaskNode* parent : expand) {
        // A stored expansion is the view's by now: asking the view costs a
        // lookup per row on every keystroke.
        if (parent->info.expandFlag)
            continue;
        StoreExpand(parent, true);
        VtTasks->setExpanded(m_model->indexOf(parent), true);
    }
    const bool searching = m_searchActive && !m_searchText.isEmpty();
    ShowTip(searching && m_model->visibleTopLevelCount() == 0 ? 3 : 0);
}

void TzvTasksFrame::SortTree() {
    SortTaskTree(*m_model, m_sortAscending);
}

void TzvTasksFrame::SetSortLook() {
    const int image = m_sortAscending ? ImageList::SortDescending : ImageList::SortAscending;
    const QString hint = m_sortAscending ? tr("Descending Sort") : tr("Ascending Sort");
    Action_ViewAsc->setIcon(ImageList::Icon(image));
    Action_ViewAsc->setProperty("imageIndex", image);
    Action_ViewAsc->setToolTip(hint);
    Action_ViewAsc->setStatusTip(hint);
    Action_ViewAsc->setText(m_sortAscending ? tr("Descending &Sort") : tr("Ascending &Sort"));
}

QString TzvTasksFrame::RowText(const QModelIndex& index) const {
    const TaskNode* n = m_model->nodeAt(index);
    if (!n)
        return QString();
    return RowTextFor(*n, Action_ViewList->isChecked(), Action_ViewDate->isChecked(),
                      n == m_editingNode, n == m_hotExpandedNode);
}

void TzvTasksFrame::VtTasksHotChange(const QModelIndex& index) {
    if (!Action_ViewList->isChecked())
        return;
    Timer_HotDelay->stop();
    if (index.isValid())
        Timer_HotDelay->start();
}

void TzvTasksFrame::Timer_HotDelayTimer() {
    Timer_HotDelay->stop();
    TaskNode* node = m_model->nodeAt(VtTasks->indexAt(VtTasks->lastMousePos()));
    if (!node || node == m_hotExpandedNode)
        return;
    TaskNode* previous = m_hotExpandedNode;
    m_hotExpandedNode = node;
    if (previous)
        m_model->nodeChanged(previous);
    Remeasure(node);
}

void TzvTasksFrame::Comb_ViewRangeChange() {
    if (m_loading)
        return;
    ApplyFilter();
    UpdateCommands();
    VtTasks->setFocus();
    IniFile(m_context.configPath)
        .writeInteger(kTask, QStringLiteral("viewRange"), Comb_ViewRange->currentIndex());
}

void TzvTasksFrame::Action_ViewListExecute() {
    StoreViewSwitch(QStringLiteral("viewListEn"), Action_ViewList->isChecked());
}

void TzvTasksFrame::Action_ViewDateExecute() {
    StoreViewSwitch(QStringLiteral("viewDateEn"), Action_ViewDate->isChecked());
}

// List and date view change the text of every row: they are laid out anew.
void TzvTasksFrame::StoreViewSwitch(const QString& key, bool on) {
    if (m_loading)
        return;
    VtTasks->doItemsLayout();
    VtTasks->viewport()->update();
    IniFile(m_context.configPath).writeBool(kTask, key, on);
}

void TzvTasksFrame::Action_ViewAscExecute() {
    m_sortAscending = !m_sortAscending;
    SetSortLook();
    SortTree();
    IniFile(m_context.configPath).writeBool(kTask, QStringLiteral("viewAscEn"), m_sortAscending);
}

void TzvTasksFrame::Action_SelectAllExecute() {
    VtTasks->setFocus();
    const int n = m_model->rowCount();
    if (n == 0)
        return;
    VtTasks->selectionModel()->select(
        QItemSelection(m_model->index(0, 0), m_model->index(n - 1, 0)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TzvTasksFrame::Action_DeselectExecute() {
    VtTasks->clearSelection();
}

void TzvTasksFrame::Action_ExpandAllExecute() {
    SetAllExpanded(true);
}

void TzvTasksFrame::Action_CollapseAllExecute() {
    SetAllExpanded(false);
}

void TzvTasksFrame::SetAllExpanded(bool expanded) {
    for (const auto& top : m_model->topLevel()) {
        StoreExpand(top.get(), expanded);
        const QModelIndex i = m_model->indexOf(top.get());
        if (i.isValid()) {
            m_restoringExpansion = true; // stored above already
            VtTasks->setExpanded(i, expanded);
            m_restoringExpansion = false;
        }
    }
    UpdateCommands();
}

void TzvTasksFrame::SetSearchIdle() {
    m_searchActive = false;
    QPalette p = Edt_Search->palette();
    p.setColor(QPalette::Text, palette().color(QPalette::Disabled, QPalette::Text));
    Edt_Search->setPalette(p);
    Edt_Search->setText(tr("  Search..."));
    SetIdleText(Edt_Search, true);
    Btn_Search->setIcon(ImageList::Icon(ImageList::Search));
    Btn_Search->setToolTip(QString());
    Btn_Search->setAccessibleName(tr("Search"));
}

void TzvTasksFrame::SearchEnter() {
    if (m_searchActive)
        return;
    Edt_Search->clear();
    SetIdleText(Edt_Search, false);
    QPalette p = Edt_Search->palette();
    p.setColor(QPalette::Text, palette().color(QPalette::Active, QPalette::Text));
    Edt_Search->setPalette(p);
    m_searchActive = true;
    Btn_Search->setIcon(ImageList::Icon(ImageList::SearchClear));
    Btn_Search->setToolTip(tr("Clear search"));
    Btn_Search->setAccessibleName(tr("Clear search"));
}

void TzvTasksFrame::SearchChange() {
    m_searchText = TrimBoth(Edt_Search->text());
    FilterRows(); // the tray lists stored tasks, which a search leaves alone
}

void TzvTasksFrame::SearchExit() {
    if (TrimBoth(Edt_Search->text()).isEmpty())
        SetSearchIdle();
}

void TzvTasksFrame::Btn_SearchClick() {
    if (m_searchActive) {
        Edt_Search->clear();
        SetSearchIdle();
        ApplyFilter();
        VtTasks->setFocus();
    } else {
        Edt_Search->setFocus();
    }
}
