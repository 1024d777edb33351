#pragma once

#include "TaskTree.h"
#include "core/ReminderNotices.h"
#include "core/TaskTreeModel.h"
#include "platform/Database.h"

#include <QTimer>
#include <QWidget>
#include <utility>
#include <vector>

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
class BusyProgress;
class TaskDelegate;
class TaskStep;
class QUndoStack;
class AppContext;
class TZvStatusBar;
namespace ListWriters {
struct Context;
}

// The task frame: the tree and every command on tasks. Its implementation is
// split by command family, one file each, named after the family.
class TzvTasksFrame : public QWidget {
    Q_OBJECT
public:
    TzvTasksFrame(AppContext& context, QWidget* parent);
    ~TzvTasksFrame() override;

    // Construction, enabled commands, tip panel (TzvTasksFrame.cpp).
    void UpdateCommands();
    void ShowTip(int mode);
    static QString TipText(int mode);
    static const QStringList& KeyboardTips();
    // Selected rows in tree order.
    std::vector<TaskNode*> SelectedNodes() const;
    // A question lets the tree be loaded anew under it (a sync landing):
    // a command keeps the ids of its rows across it, and finds the rows
    // that are still there again afterwards, in tree order.
    static QStringList TidsOf(const std::vector<TaskNode*>& nodes);
    std::vector<TaskNode*> NodesOf(const QStringList& tids) const;

    // Loading and the posted messages (FrameLoading.cpp).
    void ReloadTasks();
    // The server's changes are in the table: the tree shows them, keeping
    // the selection, a search and the undo steps (FrameLoading.cpp).
    void TakeSyncedChanges();
    int CountTasks();
    int LoadTaskTree(); // returns the number of stored rows
    void RefreshTrayHint();

    // Adding, editing in place, deleting, completing (FrameEditing.cpp).
    void Action_TaskAddExecute();
    void Action_SubTaskAddExecute();
    void Action_TaskEditExecute();
    void Action_TaskDeleteExecute();
    void Action_TaskCompleteExecute();
    // The in-place editor reports: new text (only when changed), the end
    // of a kept edit, a cancelled edit.
    void EditorKeep(TaskNode* node, const QString& text);
    void EditorEnd(TaskNode* node);
    void EditorCancel(TaskNode* node);
    // Ends an open edit, keeping the text.
    void FinishEdit();
    QWidget* openEditor() const;

    // Undo and Redo (FrameUndo.cpp). A command that changed stored tasks
    // pushes its step; the stack shows a step in the tree through ShowStep.
    void PushStep(TaskStep step);
    void ShowStep(TaskStep& step, bool undo);
    QUndoStack* undoStack() const;

    // Views, filter, sort, search and row text (FrameViews.cpp).
    // The view range and the search applied to the rows, and the tray hint
    // refreshed; FilterRows() only the first.
    void ApplyFilter();
    void FilterRows();
    void SortTree();
    // What a row shows as its text.
    QString RowText(const QModelIndex& index) const;

    // Moving (FrameMoving.cpp). Moves the selected rows under target
    // (nullptr: the top level), first (Move To) or last (a drop).
    void MoveSelectedTo(TaskNode* target, bool first);
    void Action_MoveToExecute(QAction* item);
    void VtTasksDragDrop(const QModelIndex& index);
    // Move To targets for the first selected row: nullptr is the top level.
    std::vector<TaskNode*> MoveTargets() const;

    // Reminders and due dates (FrameReminders.cpp), colours (FrameColors.cpp).
    void Action_TaskReminderSetExecute();
    void Action_TaskDueSetExecute();
    void Timer1Timer();
    // The pop-up's answer for these reminders, all of them at once when
    // asked ("Dismiss all"), in one transaction and one step.
    void AnswerReminders(const std::vector<TaskNode*>& nodes, bool dismissed, TDateTime snoozeUntil,
                         bool all);
    // Reminders as the desktop's notification, while the option is on and a
    // server shows them; false leaves them to the pop-up.
    bool OfferToDesktop(TDateTime now);
    void AnswerFromDesktop(const QStringList& tids, ReminderNotices::Answer answer);
    ReminderNotices* reminderNotices() const { return m_notices; }
    // The reminder pop-up while one is open.
    static class TtaskReminderDlg* ReminderPopup();
    void Action_SetColorExecute();

    // Copy and paste through the clipboard (FrameClipboard.cpp).
    void Action_CopyTaskExecute();
    void Action_PasteTaskExecute();
    // A new top-level task holding text, its trailing blanks removed.
    void AddTaskFromText(const QString& text);

    // Save Task and Save All as text or HTML lists (FrameSaving.cpp).
    void Action_SaveExecute();
    void Action_SaveAllExecute();
    void SaveTasks(bool all);
    bool WriteTasksText(bool all, const QString& fileName);
    bool WriteTasksHtml(bool all, const QString& fileName);

    // Print the tree as shown (FramePrinting.cpp); returns the pages made.
    void Action_PrintExecute();
    int PrintTree(class QPrinter& printer);

    // E-mail the selected tasks (FrameEmail.cpp).
    void Action_EmailExecute();
    class TZvSendMessage* ZvSendMessage1;

    // Interchange export (FrameExport.cpp).
    void Action_ExportExecute();
    // Writes the selected tasks into an interchange file.
    bool ExportSelected(const QString& fileName);
    void Action_ExportCalendarExecute();
    bool ExportCalendar(const QString& fileName);

    // State the tests and the delegate read.
    TTaskTree* tree() const { return VtTasks; }
    TaskTreeModel* model() const { return m_model; }
    TaskNode* editingNode() const { return m_editingNode; }
    const struct TBackgrounds& backgrounds() const;
    TaskNode* hotExpandedNode() const { return m_hotExpandedNode; }
    int tipMode() const { return m_tipMode; }
    bool sortAscending() const { return m_sortAscending; }
    QString trayHint() const { return m_trayHint; }
    QMenuBar* mainMenu() const { return MainMenu1; }
    void ShowExitInFileMenu(bool show); // FrameLayout.cpp
    QTimer* Timer_HotDelay;
    QTimer* Timer1;

    // Commands of the frame's action list.
    QAction* Action_Undo;
    QAction* Action_Redo;
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
    QAction* Action_ExportCalendar;
    QAction* Menu_ViewAll;
    QAction* Menu_Complete;
    QAction* Menu_Incomplete;

    // Controls around the tree (FrameLayout.cpp).
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

signals:
    // The menu bar is made: the window adopts it.
    void menuBarReady(QMenuBar* bar);
    // The open tasks the notification-area icon lists.
    void trayHintChanged(const QString& hint);
    // A load counted the stored tasks.
    void storedCountChanged(int count);

protected:
    bool event(QEvent* e) override;                         // FrameLoading.cpp
    bool eventFilter(QObject* watched, QEvent* e) override; // TzvTasksFrame.cpp

private:
    // Construction and the status bar (TzvTasksFrame.cpp, FrameLayout.cpp).
    void CreateActions();
    void CreateMenus();
    void ApplyThemeColors();
    void ApplyFontSize();
    void CreateLayout();
    void VtTasksChange();
    // For a command on count rows: busy and its progress in the status bar.
    BusyProgress Busy(const QString& doing, qsizetype count);
    // Runs fn(part, ids) on the nodes a few hundred at a time, ids holding
    // those stored, and shows the progress after each part.
    template <typename Fn, typename Progress>
    static void ForEachBatch(const std::vector<TaskNode*>& nodes, Progress& progress, Fn fn) {
        constexpr size_t batch = 500;
        for (size_t at = 0; at < nodes.size(); at += batch) {
            const std::vector<TaskNode*> part(nodes.begin() + qsizetype(at),
                                              nodes.begin() +
                                                  qsizetype(std::min(nodes.size(), at + batch)));
            QStringList ids;
            for (const TaskNode* n : part)
                if (!n->info.tid.isEmpty())
                    ids << n->info.tid;
            fn(part, ids);
            progress.advance(qsizetype(at + part.size()));
        }
    }
    void ShowKeyboardTip();
    void Label_tipClick();
    void VtTasksContextMenu(const QPoint& pos);

    // Undo and Redo.
    void CreateUndoActions();
    void UpdateUndoCommands();
    void UndoStep(bool undo);

    // Loading and stored expansion.
    void RestoreExpansion();
    // The stored rows of these tasks shown in the tree (gone ones removed).
    void ShowRows(const QStringList& tids);
    void RestoreShownExpansion();
    void RestoreExpanded(TaskNode* top);
    void StoreExpand(TaskNode* node, bool expanded);
    void VtTasksExpanded(const QModelIndex& index);
    void VtTasksCollapsed(const QModelIndex& index);
    void ExpansionChanged(const QModelIndex& index, bool expanded);

    // Editing.
    void StoreChecked(const std::vector<TaskNode*>& nodes, bool checked);
    void VtTasksEditRequest(const QModelIndex& index);
    bool VtTasksKeyDown(QKeyEvent* e);
    void OpenEditor();
    void DeleteUnsavedNode(TaskNode* node);
    void SwitchCompleteToAll();
    // After a row's text or look changed: repaint and measure it again.
    void Remeasure(TaskNode* node);

    // Views, search and hover.
    void SetSortLook();
    void Comb_ViewRangeChange();
    void Action_ViewListExecute();
    void Action_ViewDateExecute();
    void StoreViewSwitch(const QString& key, bool on);
    void Action_ViewAscExecute();
    void Action_SelectAllExecute();
    void Action_DeselectExecute();
    void Action_ExpandAllExecute();
    void Action_CollapseAllExecute();
    void SetAllExpanded(bool expanded);
    void SearchEnter();
    void SearchChange();
    void SearchExit();
    void Btn_SearchClick();
    void SetSearchIdle();
    void VtTasksHotChange(const QModelIndex& index);
    void Timer_HotDelayTimer();

    // Moving.
    void FillMoveToMenu(QMenu* menu);

    // Saving lists.
    bool WriteList(bool all, const QString& fileName,
                   QByteArray (*writer)(const std::vector<const TaskNode*>&,
                                        const ListWriters::Context&));
    void SelectAllVisibleSiblings();

    // Reminders and due dates.
    template <typename Dialog>
    void SetFlagAndTime(bool TTaskInfo::*flag, TDateTime TTaskInfo::*time, const QString& flagName,
                        const QString& timeName, const QString& stepName);

    AppContext& m_context;
    Query ADOQuery1;
    Query ADOQuery2;
    TTaskTree* VtTasks;
    TaskTreeModel* m_model;
    TaskDelegate* m_delegate;
    QToolBar* ToolBar_Top;
    QToolBar* ToolBar_Bottom;
    QMenuBar* MainMenu1;
    QAction* m_exitSeparator = nullptr;
    QUndoStack* m_undoStack = nullptr;

    TaskNode* m_editingNode = nullptr;
    bool m_keepSteps = false; // a reload that keeps the undo steps
    // A store of the edited text that failed, shown once the editor is
    // closed: a box over the open editor would take its focus and commit
    // it again.
    QString m_keepError;
    QString m_keepText; // what was typed, for the editor that opens again
    TaskNode* m_hotExpandedNode = nullptr;
    BusyProgress* m_stepBusy = nullptr; // while an undo or redo shows its step
    // Temp/Tasks.html and Temp/Tasks.zvx, handed to the mail program.
    std::pair<QString, QString> MailWorkFiles() const;
    void RemoveMailWorkFiles() const;
    int m_exported = 0; // tasks the last export wrote
    QString m_searchText;
    bool m_searchActive = false;
    bool m_sortAscending = true;
    int m_tipMode = 0;
    bool m_loading = false;
    bool m_focusedOnce = false;
    bool m_restoringExpansion = false;
    bool m_remindersQuiet = true; // no reminder was due at the last tick
    ReminderNotices* m_notices = nullptr;
    class QSoundEffect* m_alarm = nullptr;
    QString m_trayHint;
};
