#include "TzvTasksFrame.h"

#include "TaskDelegate.h"
#include "TaskTree.h"
#include "components/ZvSndMsg.h"
#include "components/ZvStatusBar.h"
#include "core/TaskRules.h"
#include "gui/AppContext.h"
#include "gui/BusyProgress.h"
#include "gui/ImageList.h"
#include "gui/Messages.h"
#include "gui/pU_Boxes.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QSet>
#include <QUndoStack>

// The frame's construction, its commands' enabled state and the tip panel.
// Each family of commands has a file of its own (Frame*.cpp).

namespace {
// A change of the desktop's font reaches the windows and the widgets without
// a font of their own; the frame has one.
class AppFontWatch : public QObject {
public:
    AppFontWatch(QObject* parent, std::function<void()> changed)
        : QObject(parent), m_changed(std::move(changed)) {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == qApp && e->type() == QEvent::ApplicationFontChange)
            m_changed();
        return false;
    }

private:
    std::function<void()> m_changed;
};
} // namespace

TzvTasksFrame::TzvTasksFrame(AppContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), ADOQuery1(context.db), ADOQuery2(context.db) {
    setObjectName(QStringLiteral("zvTasksFrame"));
    RemoveMailWorkFiles(); // left by a run that did not end
    ApplyFontSize();
    new AppFontWatch(this, [this] { ApplyFontSize(); });

    m_model = new TaskTreeModel(this);
    VtTasks = new TTaskTree(this);
    VtTasks->setModel(m_model);
    m_delegate = new TaskDelegate(this, VtTasks);
    VtTasks->setItemDelegate(m_delegate);

    ZvSendMessage1 = new TZvSendMessage(this);
    // The mail program ends long after the command; the command's own
    // failures are quiet, so one there is only noted.
    connect(ZvSendMessage1, &TZvSendMessage::SendFinished, this, [this](int code) {
        if (code > 1)
            ZvStatusBar1->setPanelText(tr("The mail program reported: ") +
                                       TZvSendMessage::MapiErrorText(code));
    });
    CreateActions();
    CreateMenus();
    CreateLayout();

    connect(VtTasks, &QTreeView::expanded, this,
            [this](const QModelIndex& i) { Guarded([&] { VtTasksExpanded(i); }); });
    connect(VtTasks, &QTreeView::collapsed, this,
            [this](const QModelIndex& i) { Guarded([&] { VtTasksCollapsed(i); }); });
    connect(m_model, &TaskTreeModel::checkRequested, this,
            [this](TaskNode* n, bool checked) { Guarded([&] { StoreChecked({n}, checked); }); });
    connect(VtTasks->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Guarded([&] { VtTasksChange(); }); });
    connect(VtTasks, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { VtTasksContextMenu(p); });
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
    Timer_HotDelay = new QTimer(this);
    Timer_HotDelay->setObjectName(QStringLiteral("Timer_HotDelay"));
    Timer_HotDelay->setSingleShot(true);
    Timer_HotDelay->setInterval(300);
    connect(Timer_HotDelay, &QTimer::timeout, this, [this] { Timer_HotDelayTimer(); });
    connect(VtTasks, &TTaskTree::hotChanged, this,
            [this](const QModelIndex& i) { VtTasksHotChange(i); });
    connect(VtTasks, &TTaskTree::dropRequested, this,
            [this](const QModelIndex& i) { Guarded([&] { VtTasksDragDrop(i); }); });
    connect(VtTasks, &TTaskTree::editRequested, this,
            [this](const QModelIndex& i) { Guarded([&] { VtTasksEditRequest(i); }); });
    VtTasks->keyHandler = [this](QKeyEvent* e) {
        bool taken = false;
        Guarded([&] { taken = VtTasksKeyDown(e); });
        return taken;
    };
    connect(m_delegate, &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
                TaskNode* node = m_delegate->nodeOf(editor);
                Guarded([&] {
                    if (hint == QAbstractItemDelegate::RevertModelCache)
                        EditorCancel(node);
                    else
                        EditorEnd(node);
                });
            });
    connect(VtTasks, &TTaskTree::blankDoubleClicked, this, [this] {
        if (!m_editingNode)
            PostTaskMessage(this, WM_TASKS_ADD);
    });
    UpdateCommands();
}

TzvTasksFrame::~TzvTasksFrame() {
    Timer1->stop();
    RemoveMailWorkFiles();
    // An open edit is kept; after that the editor must not call back into a
    // frame that is going away.
    Guarded([this] { FinishEdit(); });
    m_delegate->blockSignals(true);
    disconnect(m_delegate, nullptr, this, nullptr);
    // Its steps go before the frame they call back.
    delete m_undoStack;
    // Adopted by the window or not, the menu bar goes with the frame.
    delete MainMenu1;
}

void TzvTasksFrame::CreateActions() {
    // Each command: its member, name, caption, hint, picture and handler.
    using Frame = TzvTasksFrame;
    struct Command {
        QAction* Frame::*member;
        const char* name;
        const char* caption;
        const char* hint;
        int image;
        void (Frame::*run)();
    };
    static const Command commands[] = {
        {&Frame::Action_TaskAdd, "Action_TaskAdd", QT_TR_NOOP("Add &Task        Enter"),
         QT_TR_NOOP("Add Task"), ImageList::TaskAdd, &Frame::Action_TaskAddExecute},
        {&Frame::Action_SubTaskAdd, "Action_SubTaskAdd", QT_TR_NOOP("&Add Sub-Task  Ctrl+Enter"),
         QT_TR_NOOP("Add Sub-Task"), ImageList::SubTaskAdd, &Frame::Action_SubTaskAddExecute},
        {&Frame::Action_TaskEdit, "Action_TaskEdit", QT_TR_NOOP("&Edit            F2"),
         QT_TR_NOOP("Edit Task or Sub-Task"), ImageList::Edit, &Frame::Action_TaskEditExecute},
        {&Frame::Action_TaskDelete, "Action_TaskDelete", QT_TR_NOOP("&Delete"),
         QT_TR_NOOP("Delete Task or Sub-Task"), ImageList::Delete,
         &Frame::Action_TaskDeleteExecute},
        {&Frame::Action_TaskComplete, "Action_TaskComplete", QT_TR_NOOP("Mar&k Complete"), "", -1,
         &Frame::Action_TaskCompleteExecute},
        {&Frame::Action_TaskReminderSet, "Action_TaskReminderSet", QT_TR_NOOP("&Set Reminder..."),
         "", -1, &Frame::Action_TaskReminderSetExecute},
        {&Frame::Action_TaskDueSet, "Action_TaskDueSet", QT_TR_NOOP("Set D&ue Date..."), "", -1,
         &Frame::Action_TaskDueSetExecute},
        {&Frame::Action_ViewAsc, "Action_ViewAsc", QT_TR_NOOP("Sort"), "", -1,
         &Frame::Action_ViewAscExecute},
        {&Frame::Action_ViewDate, "Action_ViewDate", QT_TR_NOOP("View &Date"),
         QT_TR_NOOP("View Date "), ImageList::ViewDate, &Frame::Action_ViewDateExecute},
        {&Frame::Action_ViewList, "Action_ViewList", QT_TR_NOOP("View &List"),
         QT_TR_NOOP("List View Tasks"), ImageList::ViewList, &Frame::Action_ViewListExecute},
        {&Frame::Action_ExpandAll, "Action_ExpandAll", QT_TR_NOOP("&Expand All"),
         QT_TR_NOOP("Expand all"), ImageList::ExpandAll, &Frame::Action_ExpandAllExecute},
        {&Frame::Action_CollapseAll, "Action_CollapseAll", QT_TR_NOOP("C&ollapse All"),
         QT_TR_NOOP("Collapse all"), ImageList::CollapseAll, &Frame::Action_CollapseAllExecute},
        {&Frame::Action_SaveAll, "Action_SaveAll", QT_TR_NOOP("&Save All..."), "", -1,
         &Frame::Action_SaveAllExecute},
        {&Frame::Action_Save, "Action_Save", QT_TR_NOOP("Sa&ve Task..."), "", -1,
         &Frame::Action_SaveExecute},
        {&Frame::Action_Email, "Action_Email", QT_TR_NOOP("E-mai&l Task..."), "", -1,
         &Frame::Action_EmailExecute},
        {&Frame::Action_Print, "Action_Print", QT_TR_NOOP("&Print..."), "", -1,
         &Frame::Action_PrintExecute},
        {&Frame::Action_SetColor, "Action_SetColor", QT_TR_NOOP("Set C&olor..."), "", -1,
         &Frame::Action_SetColorExecute},
        {&Frame::Action_MoveTo, "Action_MoveTo", QT_TR_NOOP("&Move to"), "", -1, nullptr},
        {&Frame::Action_CopyTask, "Action_CopyTask", QT_TR_NOOP("&Copy             Ctrl+C"), "", -1,
         &Frame::Action_CopyTaskExecute},
        {&Frame::Action_PasteTask, "Action_PasteTask", QT_TR_NOOP("&Paste            Ctrl+V"), "",
         -1, &Frame::Action_PasteTaskExecute},
        {&Frame::Action_SelectAll, "Action_SelectAll", QT_TR_NOOP("&Select All       Ctrl+A"), "",
         -1, &Frame::Action_SelectAllExecute},
        {&Frame::Action_Deselect, "Action_Deselect", QT_TR_NOOP("&Deselect"), "", -1,
         &Frame::Action_DeselectExecute},
        {&Frame::Action_Export, "Action_Export", QT_TR_NOOP("&Export..."), "", -1,
         &Frame::Action_ExportExecute},
        {&Frame::Action_ExportCalendar, "Action_ExportCalendar",
         QT_TR_NOOP("Export to iCa&lendar..."), "", -1, &Frame::Action_ExportCalendarExecute},
        {&Frame::Menu_ViewAll, "Menu_ViewAll", QT_TR_NOOP("&All Tasks"), "", -1, nullptr},
        {&Frame::Menu_Complete, "Menu_Complete", QT_TR_NOOP("&Complete Tasks"), "", -1, nullptr},
        {&Frame::Menu_Incomplete, "Menu_Incomplete", QT_TR_NOOP("&Incomplete Tasks"), "", -1,
         nullptr},
    };
    for (const Command& c : commands) {
        QAction* a =
            MakeAction(this, c.name, tr(c.caption), *c.hint ? tr(c.hint) : QString(), c.image);
        this->*c.member = a;
        if (const auto run = c.run)
            connect(a, &QAction::triggered, this,
                    [this, run] { Guarded([&] { (this->*run)(); }); });
    }
    Action_ViewDate->setCheckable(true);
    Action_ViewList->setCheckable(true);
    auto* rangeGroup = new QActionGroup(this);
    int index = 0;
    for (QAction* a : {Menu_ViewAll, Menu_Complete, Menu_Incomplete}) {
        a->setCheckable(true);
        rangeGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, index] {
            Comb_ViewRange->setCurrentIndex(index); // its change handler does the rest
        });
        ++index;
    }
    SetSortLook();
    CreateUndoActions();
}

// 13 px, or the desktop's own size when that is larger: the list, the
// search bar and the status bar grow with it, and the rows measure again.
void TzvTasksFrame::ApplyFontSize() {
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(std::max(13, QFontInfo(QApplication::font()).pixelSize()));
    setFont(f);
}

BusyProgress TzvTasksFrame::Busy(const QString& doing, qsizetype count) {
    return BusyProgress(doing, count, [this, first = true](const QString& text) mutable {
        ZvStatusBar1->setPanelText(text);
        // The event loop waits for the command, so a question box answered
        // just before would leave its picture: the whole window, once.
        if (std::exchange(first, false))
            window()->repaint();
        else
            ZvStatusBar1->repaint();
    });
}

const TBackgrounds& TzvTasksFrame::backgrounds() const {
    return m_context.backgrounds;
}

std::vector<TaskNode*> TzvTasksFrame::SelectedNodes() const {
    QModelIndexList rows = VtTasks->selectionModel()->selectedRows();
    std::vector<TaskNode*> nodes;
    nodes.reserve(rows.size());
    for (const QModelIndex& i : rows)
        if (TaskNode* n = m_model->nodeAt(i))
            nodes.push_back(n);
    // Siblings only, so their positions give the tree order.
    std::sort(nodes.begin(), nodes.end(),
              [](const TaskNode* a, const TaskNode* b) { return a->position() < b->position(); });
    return nodes;
}

QStringList TzvTasksFrame::TidsOf(const std::vector<TaskNode*>& nodes) {
    QStringList tids;
    tids.reserve(qsizetype(nodes.size()));
    for (const TaskNode* n : nodes)
        tids << n->info.tid;
    return tids;
}

std::vector<TaskNode*> TzvTasksFrame::NodesOf(const QStringList& tids) const {
    const QSet<QString> wanted(tids.begin(), tids.end());
    std::vector<TaskNode*> nodes;
    nodes.reserve(tids.size());
    for (TaskNode* n : m_model->flatNodes())
        if (wanted.contains(n->info.tid))
            nodes.push_back(n);
    return nodes;
}

void TzvTasksFrame::UpdateCommands() {
    UpdateUndoCommands();
    const QList<QAction*> all = {Action_TaskAdd,    Action_SubTaskAdd,    Action_TaskEdit,
                                 Action_TaskDelete, Action_TaskComplete,  Action_TaskReminderSet,
                                 Action_TaskDueSet, Action_ViewAsc,       Action_ViewDate,
                                 Action_ViewList,   Action_ExpandAll,     Action_CollapseAll,
                                 Action_SaveAll,    Action_Save,          Action_Email,
                                 Action_Print,      Action_SetColor,      Action_MoveTo,
                                 Action_CopyTask,   Action_PasteTask,     Action_SelectAll,
                                 Action_Deselect,   Action_ExportCalendar};
    for (QAction* a : all)
        a->setEnabled(false);
    Comb_ViewRange->setEnabled(false);
    Menu_Moveto->clear();
    MainMoveTo->clear();
    Menu_Moveto->setEnabled(false);
    MainMoveTo->setEnabled(false);
    const int range = Comb_ViewRange->currentIndex();
    Menu_ViewAll->setChecked(range == 0);
    Menu_Complete->setChecked(range == 1);
    Menu_Incomplete->setChecked(range == 2);
    for (QAction* a : {Menu_ViewAll, Menu_Complete, Menu_Incomplete})
        a->setEnabled(false);
    if (m_editingNode)
        return;

    for (QAction* a :
         {Action_TaskAdd, Action_SubTaskAdd, Action_ViewAsc, Action_ViewDate, Action_ViewList,
          Action_ExpandAll, Action_CollapseAll, Action_SaveAll, Action_Save, Action_Email,
          Action_Print, Action_CopyTask, Action_PasteTask, Action_SelectAll, Action_Deselect,
          Action_ExportCalendar, Menu_ViewAll, Menu_Complete, Menu_Incomplete})
        a->setEnabled(true);
    Comb_ViewRange->setEnabled(true);

    // With nothing selected the command has no row to unmark.
    Action_TaskComplete->setText(tr("Mar&k Complete"));
    const QModelIndexList rows = VtTasks->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    const TaskNode* first = nullptr;
    for (const QModelIndex& i : rows) {
        const TaskNode* n = m_model->nodeAt(i);
        if (n && (!first || n->position() < first->position()))
            first = n;
    }
    if (!first)
        return;
    for (QAction* a : {Action_SetColor, Action_TaskEdit, Action_TaskDelete, Action_TaskReminderSet,
                       Action_TaskDueSet, Action_TaskComplete})
        a->setEnabled(true);
    Action_TaskComplete->setText(first->info.checkFlag ? tr("U&nmark Complete")
                                                       : tr("Mar&k Complete"));
    Action_MoveTo->setEnabled(true);
    // Both menus list the same targets; they are counted here and filled
    // when opened.
    const bool canMove = MoveTargetCount(*m_model, first) > 0;
    Menu_Moveto->setEnabled(canMove);
    MainMoveTo->setEnabled(canMove);
}

void TzvTasksFrame::VtTasksChange() {
    UpdateCommands();
    // The status bar describes the row the change concerns, if any.
    const QModelIndex current = VtTasks->selectionModel()->currentIndex();
    const TaskNode* node =
        VtTasks->selectionModel()->isSelected(current) ? m_model->nodeAt(current) : nullptr;
    if (!node) {
        const auto selected = SelectedNodes();
        node = selected.empty() ? nullptr : selected.front();
    }
    if (!node) {
        ShowKeyboardTip();
        return;
    }
    ZvStatusBar1->StatusImage->hide();
    ZvStatusBar1->setPanelText(StatusTextFor(node->info));
}

void TzvTasksFrame::ShowKeyboardTip() {
    const QStringList& tips = KeyboardTips();
    ZvStatusBar1->StatusImage->show();
    ZvStatusBar1->setPanelText(tips.at(QRandomGenerator::global()->bounded(tips.size())));
}

QString TzvTasksFrame::TipText(int mode) {
    switch (mode) {
    case 1:
        return tr("Click here to Add a new Item.");
    case 2:
        return tr("Click here to finish Edit. Press Esc cancel.");
    case 3:
        return tr("Search no result");
    default:
        return QString();
    }
}

const QStringList& TzvTasksFrame::KeyboardTips() {
    static const QStringList tips = {
        tr("Ctrl+Enter: Finish edit."),
        tr("Esc: Cancel edit."),
        tr("Mouse double click blank: shortcut add."),
        tr("Enter: add a new item."),
        tr("Ctrl+Enter: add a new Child item."),
        tr("Ctrl+F12: Minimize window."),
    };
    return tips;
}

void TzvTasksFrame::ShowTip(int mode) {
    if (mode == 0 && m_model->visibleTopLevelCount() == 0)
        mode = 1;
    m_tipMode = mode;
    if (mode == 0) {
        Panel_tip->hide();
        Label_tip->clear();
        return;
    }
    static const int icons[] = {-1, ImageList::TaskAdd, ImageList::FinishEdit,
                                ImageList::SearchNoResult};
    Label_tip->setText(TipText(mode));
    Image_tip->setPixmap(ImageList::Pixmap(icons[mode], 16, Image_tip->devicePixelRatioF()));
    Panel_tip->show();
}

bool TzvTasksFrame::eventFilter(QObject* watched, QEvent* e) {
    if (watched == Label_tip && e->type() == QEvent::MouseButtonRelease) {
        Guarded([this] { Label_tipClick(); });
        return true;
    }
    if (watched == Edt_Search) {
        if (e->type() == QEvent::FocusIn)
            Guarded([this] { SearchEnter(); });
        else if (e->type() == QEvent::FocusOut)
            Guarded([this] { SearchExit(); });
        else if (e->type() == QEvent::KeyPress) {
            auto* ke = static_cast<QKeyEvent*>(e);
            if (ke->key() == Qt::Key_Escape) {
                Guarded([this] { Btn_SearchClick(); });
                return true;
            }
            if (ke->key() == Qt::Key_A && ke->modifiers() == Qt::ControlModifier) {
                Edt_Search->selectAll();
                return true;
            }
            // As in the tree: the help promises it everywhere.
            if (ke->key() == Qt::Key_F12 && ke->modifiers() == Qt::ControlModifier) {
                m_context.actions.close->trigger();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, e);
}

void TzvTasksFrame::Label_tipClick() {
    switch (m_tipMode) {
    case 1:
        Action_TaskAdd->trigger();
        break;
    case 2:
        FinishEdit();
        break;
    case 3:
        Btn_SearchClick();
        break;
    default:
        break;
    }
}
