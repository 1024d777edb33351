#pragma once

#include "TaskTreeModel.h"
#include "platform/Database.h"

#include <QPoint>
#include <QTimer>
#include <QTreeView>
#include <QWidget>
#include <functional>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QKeyEvent;
class QMenu;
class QMenuBar;
class QToolBar;
class QToolButton;
class TaskDelegate;
class TmainFm;
class TZvStatusBar;

// The tree control: two levels, check boxes, multi-line rows. It reports
// what the frame needs and keeps every selection among siblings.
class TTaskTree : public QTreeView {
    Q_OBJECT
public:
    explicit TTaskTree(QWidget* parent);
    TaskTreeModel* taskModel() const { return static_cast<TaskTreeModel*>(model()); }
    QPoint lastMousePos() const { return m_lastMousePos; }

    // Keys the frame handles before the tree; true when taken.
    std::function<bool(QKeyEvent*)> keyHandler;

signals:
    void blankDoubleClicked();
    // The tree's own wish to edit a row (F2, a click on the selected row).
    void editRequested(const QModelIndex& index);
    // Rows were dropped at index (invalid: blank space).
    void dropRequested(const QModelIndex& index);
    // The row under the mouse pointer changed (invalid: none).
    void hotChanged(const QModelIndex& index);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void startDrag(Qt::DropActions supported) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    QPoint m_lastMousePos;
    bool m_constraining = false;
    QPersistentModelIndex m_hot;
    QPersistentModelIndex m_pressedSelected; // pressed while already the only selection
    QTimer* m_clickEdit;
};

class TzvTasksFrame : public QWidget {
    Q_OBJECT
public:
    explicit TzvTasksFrame(TmainFm* mainFm);
    ~TzvTasksFrame() override;

    // Tip panel texts, by mode.
    static QString TipText(int mode);
    // The reminder pop-up while one is open.
    static class TtaskReminderDlg* ReminderPopup();
    static const QStringList& KeyboardTips();

    // Commands of the task editing.
    void Action_TaskAddExecute();
    void Action_SubTaskAddExecute();
    void Action_TaskEditExecute();
    void Action_TaskDeleteExecute();
    void Action_TaskCompleteExecute();
    void Action_TaskReminderSetExecute();
    void Action_TaskDueSetExecute();
    void Action_SetColorExecute();
    void Timer1Timer();
    void Action_ExportExecute();
    // Writes the selected tasks into an interchange file.
    bool ExportSelected(const QString& fileName);
    // The in-place editor reports: new text (only when changed), the end
    // of a kept edit, a cancelled edit.
    void EditorKeep(TaskNode* node, const QString& text);
    void EditorEnd(TaskNode* node);
    void EditorCancel(TaskNode* node);
    // Moves the selected rows under target (nullptr: the top level), first
    // (Move To) or last (a drop).
    void MoveSelectedTo(TaskNode* target, bool first);
    void Action_MoveToExecute(QAction* item);
    void VtTasksDragDrop(const QModelIndex& index);
    // Ends an open edit, keeping the text.
    void FinishEdit();
    QWidget* openEditor() const;

    void ReloadTasks();
    int CountTasks();
    int LoadTaskTree(); // returns the number of stored rows
    void UpdateCommands();
    void ShowTip(int mode);
    void ApplyFilter();
    void RefreshTrayHint();
    void SortTree();

    // What a row shows as its text.
    QString RowText(const QModelIndex& index) const;
    // Selected rows in tree order.
    std::vector<TaskNode*> SelectedNodes() const;
    // Move To targets for the first selected row: nullptr is the top level.
    std::vector<TaskNode*> MoveTargets() const;

    TTaskTree* tree() const { return VtTasks; }
    TaskTreeModel* model() const { return m_model; }
    TaskNode* editingNode() const { return m_editingNode; }
    const struct TBackgrounds& backgrounds() const;
    TaskNode* hotExpandedNode() const { return m_hotExpandedNode; }
    QTimer* Timer_HotDelay;
    QTimer* Timer1;
    int tipMode() const { return m_tipMode; }
    bool sortAscending() const { return m_sortAscending; }
    QString trayHint() const { return m_trayHint; }
    QMenuBar* mainMenu() const { return MainMenu1; }

    // Commands of the frame's action list.
    QAction* Action_TaskAdd;
    QAction* Action_SubTaskAdd;
    QAction* Action_TaskEdit;
    QAction* Action_TaskDelete;
    QAction* Action_TaskComplete;
    QAction* Action_TaskReminderSet;
    QAction* Action_TaskDueSet;
    QAction* Action_ViewAsc;
    QAction* Action_ViewDate;
    QAction* Action_ViewList;
    QAction* Action_ExpandAll;
    QAction* Action_CollapseAll;
    QAction* Action_SaveAll;
    QAction* Action_Save;
    QAction* Action_Email;
    QAction* Action_Print;
    QAction* Action_SetColor;
    QAction* Action_MoveTo;
    QAction* Action_CopyTask;
    QAction* Action_PasteTask;
    QAction* Action_SelectAll;
    QAction* Action_Deselect;
    QAction* Action_Export;
    QAction* Menu_ViewAll;
    QAction* Menu_Complete;
    QAction* Menu_Incomplete;

    QComboBox* Comb_ViewRange;
    QLineEdit* Edt_Search;
    QToolButton* Btn_Search;
    QMenu* Menu_Moveto;
    QMenu* MainMoveTo;
    QMenu* PopupMenu_Task;
    QMenu* PopupMenu_Null;
    QFrame* Panel_tip;
    QLabel* Label_tip;
    QLabel* Image_tip;
    TZvStatusBar* ZvStatusBar1;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateLayout();
    void FillMoveToMenu(QMenu* menu);
    void SetSortLook();
    void RestoreExpansion();
    void StoreExpand(TaskNode* node, bool expanded);
    void ShowKeyboardTip();
    void VtTasksChange();

    void VtTasksExpanded(const QModelIndex& index);
    void VtTasksCollapsed(const QModelIndex& index);
    void VtTasksChecked(TaskNode* node);
    void VtTasksContextMenu(const QPoint& pos);
    void VtTasksEditRequest(const QModelIndex& index);
    bool VtTasksKeyDown(QKeyEvent* e);
    void OpenEditor();
    void DeleteUnsavedNode(TaskNode* node);
    void SwitchCompleteToAll();
    void Remeasure(TaskNode* node);
    template <typename Dialog>
    void SetFlagAndTime(bool TTaskInfo::*flag, TDateTime TTaskInfo::*time, const char* flagName,
                        const char* timeName);
    void WriteTaskFields(TaskNode* node, const char* flagName, bool flag, const char* timeName,
                         TDateTime time);
    void VtTasksHotChange(const QModelIndex& index);
    void Timer_HotDelayTimer();
    void Comb_ViewRangeChange();
    void Action_ViewListExecute();
    void Action_ViewDateExecute();
    void Action_ViewAscExecute();
    void Action_SelectAllExecute();
    void Action_DeselectExecute();
    void Action_ExpandAllExecute();
    void Action_CollapseAllExecute();
    void Label_tipClick();
    void SearchEnter();
    void SearchChange();
    void SearchExit();
    void Btn_SearchClick();
    void SetSearchIdle();

    TmainFm* m_main;
    Query ADOQuery1;
    Query ADOQuery2;
    TTaskTree* VtTasks;
    TaskTreeModel* m_model;
    TaskDelegate* m_delegate;
    QToolBar* ToolBar_Top;
    QToolBar* ToolBar_Bottom;
    QMenuBar* MainMenu1;

    TaskNode* m_editingNode = nullptr;
    TaskNode* m_hotExpandedNode = nullptr;
    QString m_searchText;
    bool m_searchActive = false;
    bool m_sortAscending = true;
    int m_tipMode = 0;
    bool m_loading = false;
    bool m_focusedOnce = false;
    bool m_restoringExpansion = false;
    QString m_trayHint;
};
