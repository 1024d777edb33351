#include "TzvTasksFrame.h"

#include "TaskDelegate.h"
#include "TaskDialogs.h"
#include "TaskRules.h"
#include "app/Messages.h"
#include "app/TcommonDm.h"
#include "app/TmainFm.h"
#include "app/pU_Boxes.h"
#include "app/pU_Funcs.h"
#include "components/ImageList.h"
#include "components/ZvStatusBar.h"
#include "io/Interchange.h"
#include "io/TIoDm.h"
#include "platform/IniFile.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QDropEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kTask = QStringLiteral("task");

// A tool bar whose background is a bitmap stretched over its whole area.
class TBitmapToolBar : public QToolBar {
public:
    TBitmapToolBar(const QPixmap& background, QWidget* parent)
        : QToolBar(parent), m_background(background) {
        setMovable(false);
        setFloatable(false);
        setIconSize(QSize(22, 22));
        setToolButtonStyle(Qt::ToolButtonIconOnly);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        if (m_background.isNull()) {
            QToolBar::paintEvent(e);
            return;
        }
        QPainter p(this);
        p.drawPixmap(rect(), m_background);
    }

private:
    QPixmap m_background;
};

} // namespace

// ---------------------------------------------------------------- TTaskTree

TTaskTree::TTaskTree(QWidget* parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("VtTasks"));
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setUniformRowHeights(false);
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMouseTracking(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Per item: per pixel would measure every wrapped row up front, which
    // tens of thousands of tasks make slow.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setAllColumnsShowFocus(true);
    setAnimated(false);
    setIndentation(18);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    // A click on the selected row edits it, unless a double click follows.
    m_clickEdit = new QTimer(this);
    m_clickEdit->setSingleShot(true);
    connect(m_clickEdit, &QTimer::timeout, this, [this] {
        if (m_pressedSelected.isValid())
            emit editRequested(m_pressedSelected);
        m_pressedSelected = QPersistentModelIndex();
    });
}

void TTaskTree::keyPressEvent(QKeyEvent* e) {
    if (keyHandler && keyHandler(e))
        return;
    if (e->key() == Qt::Key_F2 && (e->modifiers() & Qt::ControlModifier) == 0) {
        if (currentIndex().isValid())
            emit editRequested(currentIndex());
        return;
    }
    QTreeView::keyPressEvent(e);
}

void TTaskTree::mousePressEvent(QMouseEvent* e) {
    const QModelIndex at = indexAt(e->position().toPoint());
    const QModelIndexList selected = selectionModel()->selectedRows();
    m_pressedSelected = QPersistentModelIndex();
    if (at.isValid() && e->button() == Qt::LeftButton && e->modifiers() == Qt::NoModifier &&
        selected.size() == 1 && selected.first() == at)
        m_pressedSelected = at;
    QTreeView::mousePressEvent(e);
}

void TTaskTree::mouseReleaseEvent(QMouseEvent* e) {
    QTreeView::mouseReleaseEvent(e);
    const QModelIndex at = indexAt(e->position().toPoint());
    if (m_pressedSelected.isValid() && at == m_pressedSelected &&
        visualRect(at).adjusted(24, 0, 0, 0).contains(e->position().toPoint()))
        m_clickEdit->start(QApplication::doubleClickInterval());
    else
        m_pressedSelected = QPersistentModelIndex();
}

void TTaskTree::mouseMoveEvent(QMouseEvent* e) {
    m_lastMousePos = e->position().toPoint();
    const QModelIndex at = indexAt(m_lastMousePos);
    if (at != m_hot) {
        m_hot = at;
        emit hotChanged(at);
    }
    QTreeView::mouseMoveEvent(e);
}

void TTaskTree::startDrag(Qt::DropActions) {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    auto* data = new QMimeData;
    QStringList texts;
    for (const QModelIndex& i : rows)
        texts << i.data().toString();
    data->setText(texts.join(u'\n'));
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

void TTaskTree::dragEnterEvent(QDragEnterEvent* e) {
    // Drops from other programs are welcome too; the selection is what moves.
    e->acceptProposedAction();
}

void TTaskTree::dragMoveEvent(QDragMoveEvent* e) {
    const QModelIndex at = indexAt(e->position().toPoint());
    QModelIndex first;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        if (!first.isValid() || i.row() < first.row())
            first = i;
    if (at.isValid() && at == first) {
        e->ignore();
        return;
    }
    if (at.isValid() && !at.parent().isValid() && !isExpanded(at))
        expand(at); // shows the sub-tasks it may land among
    e->acceptProposedAction();
}

void TTaskTree::dropEvent(QDropEvent* e) {
    e->acceptProposedAction();
    emit dropRequested(indexAt(e->position().toPoint()));
}

void TTaskTree::leaveEvent(QEvent* e) {
    if (m_hot.isValid()) {
        m_hot = QPersistentModelIndex();
        emit hotChanged(QModelIndex());
    }
    QTreeView::leaveEvent(e);
}

void TTaskTree::mouseDoubleClickEvent(QMouseEvent* e) {
    m_clickEdit->stop();
    m_pressedSelected = QPersistentModelIndex();
    m_lastMousePos = e->position().toPoint();
    if (!indexAt(m_lastMousePos).isValid()) {
        emit blankDoubleClicked();
        return;
    }
    QTreeView::mouseDoubleClickEvent(e);
}

void TTaskTree::resizeEvent(QResizeEvent* e) {
    QTreeView::resizeEvent(e);
    // Wrapped rows change height with the width.
    scheduleDelayedItemsLayout();
}

void TTaskTree::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const {
    // The expand button sits beside the first line, like the check box.
    QRect top = rect;
    top.setHeight(qMin(rect.height(), fontMetrics().height() + 4));
    QTreeView::drawBranches(painter, top, index);
}

void TTaskTree::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QTreeView::selectionChanged(selected, deselected);
    if (m_constraining || selected.isEmpty())
        return;
    // A selection only ever holds siblings: those of the current row win.
    QModelIndex anchor = selectionModel()->currentIndex();
    if (!anchor.isValid() || !selectionModel()->isSelected(anchor))
        anchor = selected.indexes().value(0);
    const QModelIndex parent = anchor.parent();
    QItemSelection strangers;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        if (i.parent() != parent)
            strangers.select(i, i);
    if (strangers.isEmpty())
        return;
    m_constraining = true;
    selectionModel()->select(strangers, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    m_constraining = false;
}

// ------------------------------------------------------------ TzvTasksFrame

TzvTasksFrame::TzvTasksFrame(TmainFm* mainFm)
    : QWidget(mainFm), m_main(mainFm), ADOQuery1(mainFm->db()), ADOQuery2(mainFm->db()) {
    setObjectName(QStringLiteral("zvTasksFrame"));
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(13);
    setFont(f);

    m_model = new TaskTreeModel(this);
    VtTasks = new TTaskTree(this);
    VtTasks->setModel(m_model);
    m_delegate = new TaskDelegate(this, VtTasks);
    VtTasks->setItemDelegate(m_delegate);

    CreateActions();
    CreateMenus();
    CreateLayout();

    connect(VtTasks, &QTreeView::expanded, this,
            [this](const QModelIndex& i) { Guarded([&] { VtTasksExpanded(i); }); });
    connect(VtTasks, &QTreeView::collapsed, this,
            [this](const QModelIndex& i) { Guarded([&] { VtTasksCollapsed(i); }); });
    connect(m_model, &TaskTreeModel::checkToggled, this,
            [this](TaskNode* n) { Guarded([&] { VtTasksChecked(n); }); });
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
    // An open edit is kept; after that the editor must not call back into a
    // frame that is going away.
    Guarded([this] { FinishEdit(); });
    m_delegate->blockSignals(true);
    disconnect(m_delegate, nullptr, this, nullptr);
    // The main window holds the adopted menu bar; it goes with the frame.
    if (m_main->menuBar() == MainMenu1)
        m_main->setMenuWidget(nullptr);
    delete MainMenu1;
}

void TzvTasksFrame::CreateActions() {
    Action_TaskAdd = MakeAction(this, "Action_TaskAdd", QStringLiteral("Add &Task        Enter"),
                                QStringLiteral("Add Task"), ImageList::TaskAdd);
    Action_SubTaskAdd =
        MakeAction(this, "Action_SubTaskAdd", QStringLiteral("&Add Sub-Task  Ctrl+Enter"),
                   QStringLiteral("Add Sub-Task"), ImageList::SubTaskAdd);
    Action_TaskEdit = MakeAction(this, "Action_TaskEdit", QStringLiteral("&Edit            F2"),
                                 QStringLiteral("Edit Task or Sub-Task"), ImageList::Edit);
    Action_TaskDelete = MakeAction(this, "Action_TaskDelete", QStringLiteral("&Delete"),
                                   QStringLiteral("Delete Task or Sub-Task"), ImageList::Delete);
    Action_TaskComplete = MakeAction(this, "Action_TaskComplete", QStringLiteral("&Mark Complete"));
    Action_TaskReminderSet =
        MakeAction(this, "Action_TaskReminderSet", QStringLiteral("&Set Reminder..."));
    Action_TaskDueSet = MakeAction(this, "Action_TaskDueSet", QStringLiteral("Set D&ue Date..."));
    Action_ViewAsc = MakeAction(this, "Action_ViewAsc", QStringLiteral("Sort"));
    Action_ViewDate = MakeAction(this, "Action_ViewDate", QStringLiteral("View &Date"),
                                 QStringLiteral("View Date "), ImageList::ViewDate);
    Action_ViewDate->setCheckable(true);
    Action_ViewList = MakeAction(this, "Action_ViewList", QStringLiteral("View &List"),
                                 QStringLiteral("List View Tasks"), ImageList::ViewList);
    Action_ViewList->setCheckable(true);
    Action_ExpandAll = MakeAction(this, "Action_ExpandAll", QStringLiteral("&Expand All"),
                                  QStringLiteral("Expand all"), ImageList::ExpandAll);
    Action_CollapseAll = MakeAction(this, "Action_CollapseAll", QStringLiteral("&Collapse All"),
                                    QStringLiteral("Collapse all"), ImageList::CollapseAll);
    Action_SaveAll = MakeAction(this, "Action_SaveAll", QStringLiteral("&Save All..."));
    Action_Save = MakeAction(this, "Action_Save", QStringLiteral("Sa&ve Task..."));
    Action_Email = MakeAction(this, "Action_Email", QStringLiteral("E-mai&l Task..."));
    Action_Print = MakeAction(this, "Action_Print", QStringLiteral("&Print..."));
    Action_SetColor = MakeAction(this, "Action_SetColor", QStringLiteral("Set C&olor..."));
    Action_MoveTo = MakeAction(this, "Action_MoveTo", QStringLiteral("&Move to"));
    Action_CopyTask =
        MakeAction(this, "Action_CopyTask", QStringLiteral("&Copy             Ctrl+C"));
    Action_PasteTask =
        MakeAction(this, "Action_PasteTask", QStringLiteral("&Paste            Ctrl+V"));
    Action_SelectAll =
        MakeAction(this, "Action_SelectAll", QStringLiteral("&Select All       Ctrl+A"));
    Action_Deselect = MakeAction(this, "Action_Deselect", QStringLiteral("&Deselect"));
    Action_Export = MakeAction(this, "Action_Export", QStringLiteral("&Export..."));
    Menu_ViewAll = MakeAction(this, "Menu_ViewAll", QStringLiteral("&All Tasks"));
    Menu_Complete = MakeAction(this, "Menu_Complete", QStringLiteral("&Complete Tasks"));
    Menu_Incomplete = MakeAction(this, "Menu_Incomplete", QStringLiteral("&Incomplete Tasks"));
    auto* rangeGroup = new QActionGroup(this);
    for (QAction* a : {Menu_ViewAll, Menu_Complete, Menu_Incomplete}) {
        a->setCheckable(true);
        rangeGroup->addAction(a);
    }
    SetSortLook();

    const auto guard = [this](QAction* a, void (TzvTasksFrame::*fn)()) {
        connect(a, &QAction::triggered, this, [this, fn] { Guarded([&] { (this->*fn)(); }); });
    };
    guard(Action_TaskAdd, &TzvTasksFrame::Action_TaskAddExecute);
    guard(Action_SubTaskAdd, &TzvTasksFrame::Action_SubTaskAddExecute);
    guard(Action_TaskEdit, &TzvTasksFrame::Action_TaskEditExecute);
    guard(Action_TaskDelete, &TzvTasksFrame::Action_TaskDeleteExecute);
    guard(Action_TaskComplete, &TzvTasksFrame::Action_TaskCompleteExecute);
    guard(Action_TaskReminderSet, &TzvTasksFrame::Action_TaskReminderSetExecute);
    guard(Action_TaskDueSet, &TzvTasksFrame::Action_TaskDueSetExecute);
    guard(Action_SetColor, &TzvTasksFrame::Action_SetColorExecute);
    guard(Action_Export, &TzvTasksFrame::Action_ExportExecute);
    guard(Action_ViewList, &TzvTasksFrame::Action_ViewListExecute);
    guard(Action_ViewDate, &TzvTasksFrame::Action_ViewDateExecute);
    guard(Action_ViewAsc, &TzvTasksFrame::Action_ViewAscExecute);
    guard(Action_SelectAll, &TzvTasksFrame::Action_SelectAllExecute);
    guard(Action_Deselect, &TzvTasksFrame::Action_DeselectExecute);
    guard(Action_ExpandAll, &TzvTasksFrame::Action_ExpandAllExecute);
    guard(Action_CollapseAll, &TzvTasksFrame::Action_CollapseAllExecute);
    int index = 0;
    for (QAction* a : {Menu_ViewAll, Menu_Complete, Menu_Incomplete}) {
        connect(a, &QAction::triggered, this, [this, index] {
            Comb_ViewRange->setCurrentIndex(index); // its change handler does the rest
        });
        ++index;
    }
}

void TzvTasksFrame::CreateMenus() {
    TcommonDm* common = m_main->commonDm();
    MainMenu1 = new QMenuBar(nullptr);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = MainMenu1->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    if (common)
        file->addAction(common->Action_Options);
    file->addSeparator();
    for (const char* name : {"Action_DbBackup", "Action_DbRestore"})
        if (auto* a = m_main->findChild<QAction*>(QLatin1String(name)))
            file->addAction(a);
    file->addSeparator();
    file->addAction(Action_Export);
    if (auto* a = m_main->findChild<QAction*>(QStringLiteral("Action_Import")))
        file->addAction(a);
    file->addSeparator();
    file->addAction(Action_SaveAll);
    file->addAction(Action_Print);
    file->addSeparator();
    if (common) {
        file->addAction(common->Action_UiStayOnTop);
        file->addSeparator();
        file->addAction(common->Action_UiClose);
    }

    QMenu* edit = MainMenu1->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->addAction(Action_CopyTask);
    edit->addAction(Action_PasteTask);
    edit->addSeparator();
    edit->addAction(Action_SelectAll);
    edit->addAction(Action_Deselect);

    QMenu* view = MainMenu1->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("View1"));
    view->addAction(Action_ViewList);
    view->addAction(Action_ViewDate);
    view->addSeparator();
    view->addAction(Menu_ViewAll);
    view->addAction(Menu_Complete);
    view->addAction(Menu_Incomplete);
    view->addSeparator();
    view->addAction(Action_ExpandAll);
    view->addAction(Action_CollapseAll);

    QMenu* tasks = MainMenu1->addMenu(QStringLiteral("&Tasks"));
    tasks->setObjectName(QStringLiteral("Tasks1"));
    tasks->addAction(Action_TaskAdd);
    tasks->addAction(Action_SubTaskAdd);
    tasks->addSeparator();
    tasks->addAction(Action_Email);
    tasks->addAction(Action_Save);
    tasks->addSeparator();
    tasks->addAction(Action_TaskEdit);
    tasks->addAction(Action_TaskDelete);
    tasks->addSeparator();
    tasks->addAction(Action_TaskComplete);
    tasks->addSeparator();
    tasks->addAction(Action_TaskDueSet);
    tasks->addAction(Action_TaskReminderSet);
    tasks->addAction(Action_SetColor);
    tasks->addSeparator();
    MainMoveTo = tasks->addMenu(QStringLiteral("&Move to"));
    MainMoveTo->setObjectName(QStringLiteral("MainMoveTo"));
    MainMoveTo->menuAction()->setToolTip(QStringLiteral("Move tasks to other group"));
    MainMoveTo->menuAction()->setStatusTip(QStringLiteral("Move tasks to other group"));

    QMenu* help = MainMenu1->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    if (common) {
        help->addAction(common->HelpContents1);
        help->addSeparator();
        help->addAction(common->Action_Contact);
        help->addAction(common->Action_Suggestion);
        help->addSeparator();
        help->addAction(common->Action_Website);
        help->addAction(common->Action_Update);
        help->addSeparator();
        help->addAction(common->Action_Resources);
        help->addSeparator();
        help->addAction(common->Action_About);
    }

    PopupMenu_Task = new QMenu(this);
    PopupMenu_Task->setObjectName(QStringLiteral("PopupMenu_Task"));
    PopupMenu_Task->addAction(Action_TaskAdd);
    PopupMenu_Task->addAction(Action_SubTaskAdd);
    PopupMenu_Task->addSeparator();
    PopupMenu_Task->addAction(Action_Email);
    PopupMenu_Task->addAction(Action_Save);
    PopupMenu_Task->addSeparator();
    PopupMenu_Task->addAction(Action_TaskEdit);
    PopupMenu_Task->addAction(Action_TaskDelete);
    PopupMenu_Task->addSeparator();
    PopupMenu_Task->addAction(Action_CopyTask);
    PopupMenu_Task->addAction(Action_PasteTask);
    PopupMenu_Task->addSeparator();
    PopupMenu_Task->addAction(Action_TaskComplete);
    PopupMenu_Task->addSeparator();
    PopupMenu_Task->addAction(Action_TaskDueSet);
    PopupMenu_Task->addAction(Action_TaskReminderSet);
    PopupMenu_Task->addAction(Action_SetColor);
    PopupMenu_Task->addSeparator();
    Menu_Moveto = PopupMenu_Task->addMenu(QStringLiteral("&Move To"));
    Menu_Moveto->setObjectName(QStringLiteral("Menu_Moveto"));

    PopupMenu_Null = new QMenu(this);
    PopupMenu_Null->setObjectName(QStringLiteral("PopupMenu_Null"));
    PopupMenu_Null->addAction(Action_TaskAdd);
    PopupMenu_Null->addAction(Action_SubTaskAdd);
    PopupMenu_Null->addSeparator();
    PopupMenu_Null->addAction(Action_PasteTask);

    // The Move To items are made when a menu opens: with many tasks,
    // rebuilding them on every selection change would be wasted work.
    for (QMenu* m : {Menu_Moveto, MainMoveTo}) {
        connect(m, &QMenu::aboutToShow, this, [this, m] { FillMoveToMenu(m); });
        connect(m, &QMenu::triggered, this,
                [this](QAction* item) { Guarded([&] { Action_MoveToExecute(item); }); });
    }
}

void TzvTasksFrame::CreateLayout() {
    const TBackgrounds& bg = m_main->backgrounds();
    ToolBar_Top = new TBitmapToolBar(bg.toolsbar, this);
    ToolBar_Top->setObjectName(QStringLiteral("ToolBar_Top"));
    ToolBar_Top->addAction(Action_TaskAdd);
    ToolBar_Top->addAction(Action_SubTaskAdd);
    ToolBar_Top->addAction(Action_TaskEdit);
    ToolBar_Top->addAction(Action_TaskDelete);
    ToolBar_Top->addSeparator();
    ToolBar_Top->addAction(Action_ViewAsc);
    ToolBar_Top->addAction(Action_ExpandAll);
    ToolBar_Top->addAction(Action_CollapseAll);
    ToolBar_Top->addSeparator();
    ToolBar_Top->addAction(Action_ViewList);
    ToolBar_Top->addAction(Action_ViewDate);

    Panel_tip = new QFrame(this);
    Panel_tip->setObjectName(QStringLiteral("Panel_tip"));
    Panel_tip->setFrameShape(QFrame::Panel);
    Panel_tip->setFrameShadow(QFrame::Sunken);
    Panel_tip->setAutoFillBackground(true);
    QPalette tipPalette = Panel_tip->palette();
    tipPalette.setColor(QPalette::Window, QColor(255, 255, 225)); // colour value 0xE1FFFF
    Panel_tip->setPalette(tipPalette);
    Image_tip = new QLabel(Panel_tip);
    Image_tip->setObjectName(QStringLiteral("Image_tip"));
    Image_tip->setFixedSize(16, 16);
    Label_tip = new QLabel(Panel_tip);
    Label_tip->setObjectName(QStringLiteral("Label_tip"));
    Label_tip->setWordWrap(true);
    Label_tip->setCursor(Qt::PointingHandCursor);
    QFont tipFont = Label_tip->font();
    tipFont.setUnderline(true);
    Label_tip->setFont(tipFont);
    QPalette labelPalette = Label_tip->palette();
    labelPalette.setColor(QPalette::WindowText, Qt::blue);
    Label_tip->setPalette(labelPalette);
    Label_tip->installEventFilter(this);
    auto* tipLayout = new QHBoxLayout(Panel_tip);
    tipLayout->setContentsMargins(4, 4, 4, 4);
    tipLayout->addWidget(Image_tip, 0, Qt::AlignTop);
    tipLayout->addWidget(Label_tip, 1);
    Panel_tip->hide();

    ToolBar_Bottom = new TBitmapToolBar(bg.searchbar, this);
    ToolBar_Bottom->setObjectName(QStringLiteral("ToolBar_Bottom"));
    ToolBar_Bottom->setIconSize(QSize(16, 16));
    Comb_ViewRange = new QComboBox(ToolBar_Bottom);
    Comb_ViewRange->setObjectName(QStringLiteral("Comb_ViewRange"));
    Comb_ViewRange->addItems({QStringLiteral("View All Tasks"), QStringLiteral("View Complete"),
                              QStringLiteral("View Incomplete")});
    Comb_ViewRange->setFixedWidth(121);
    Comb_ViewRange->setToolTip(QStringLiteral("View Range"));
    Edt_Search = new QLineEdit(ToolBar_Bottom);
    Edt_Search->setObjectName(QStringLiteral("Edt_Search"));
    Edt_Search->setToolTip(QStringLiteral("Input search string"));
    Edt_Search->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Edt_Search->installEventFilter(this);
    Btn_Search = new QToolButton(ToolBar_Bottom);
    Btn_Search->setObjectName(QStringLiteral("Btn_Search"));
    Btn_Search->setAutoRaise(true);
    ToolBar_Bottom->addWidget(Comb_ViewRange);
    ToolBar_Bottom->addSeparator();
    ToolBar_Bottom->addWidget(Edt_Search);
    ToolBar_Bottom->addWidget(Btn_Search);

    connect(Comb_ViewRange, &QComboBox::currentIndexChanged, this,
            [this] { Guarded([this] { Comb_ViewRangeChange(); }); });
    connect(Edt_Search, &QLineEdit::textChanged, this,
            [this] { Guarded([this] { SearchChange(); }); });
    connect(Btn_Search, &QToolButton::clicked, this,
            [this] { Guarded([this] { Btn_SearchClick(); }); });

    ZvStatusBar1 = new TZvStatusBar(this);
    ZvStatusBar1->setObjectName(QStringLiteral("ZvStatusBar1"));
    ZvStatusBar1->StatusImage->setPixmap(ImageList::Pixmap(ImageList::TaskAdd));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar_Top);
    layout->addWidget(VtTasks, 1);
    layout->addWidget(Panel_tip);
    layout->addWidget(ToolBar_Bottom);
    layout->addWidget(ZvStatusBar1);
    SetSearchIdle();
}

const TBackgrounds& TzvTasksFrame::backgrounds() const {
    return m_main->backgrounds();
}

QString TzvTasksFrame::TipText(int mode) {
    switch (mode) {
    case 1:
        return QStringLiteral("Click here to Add a new Item.");
    case 2:
        return QStringLiteral("Click here to finish Edit. Press Esc cancel.");
    case 3:
        return QStringLiteral("Search no result");
    default:
        return QString();
    }
}

const QStringList& TzvTasksFrame::KeyboardTips() {
    static const QStringList tips = {
        QStringLiteral("Ctrl+Enter: Finish edit."),
        QStringLiteral("Esc: Cancel edit."),
        QStringLiteral("Mouse double click blank: shortcut add."),
        QStringLiteral("Enter: add a new item."),
        QStringLiteral("Ctrl+Enter: add a new Child item."),
        QStringLiteral("Ctrl+F12: Minimize window."),
    };
    return tips;
}

bool TzvTasksFrame::event(QEvent* e) {
    switch (static_cast<int>(e->type())) {
    case WM_TASKS_RELOAD:
        Guarded([this] { ReloadTasks(); });
        return true;
    case WM_TASKS_ATTACH:
        Guarded([this] {
            m_main->setMenuBar(MainMenu1);
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

    const IniFile ini(m_main->configPath());
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
    if (m_main->db().isOpen()) {
        const int count = LoadTaskTree();
        m_main->setStoredTaskCount(count);
        ini.writeStrings(QStringLiteral("log"),
                         {{QStringLiteral("privateTasks"), QString::number(count)},
                          {QStringLiteral("publicTasks"), QStringLiteral("0")}});
    }
    ApplyFilter();
    UpdateCommands();
    SetSearchIdle();
    RefreshTrayHint();
    VtTasks->setToolTip(QStringLiteral("Double click to add a Task!"));
    ShowKeyboardTip();
    Timer1->start();
}

int TzvTasksFrame::CountTasks() {
    return ::CountTasks(m_main->db());
}

int TzvTasksFrame::LoadTaskTree() {
    const int count = ::LoadTaskTree(m_main->db(), *m_model);
    RestoreExpansion();
    return count;
}

void TzvTasksFrame::RestoreExpansion() {
    // The stored flags already say so: nothing is written here.
    m_restoringExpansion = true;
    for (const auto& top : m_model->topLevel())
        if (top->info.expandFlag && !top->children().empty()) {
            const QModelIndex i = m_model->indexOf(top.get());
            if (i.isValid() && !VtTasks->isExpanded(i))
                VtTasks->setExpanded(i, true);
        }
    m_restoringExpansion = false;
}

void TzvTasksFrame::StoreExpand(TaskNode* node, bool expanded) {
    if (!node->isTopLevel() || node->info.expandFlag == expanded)
        return;
    node->info.expandFlag = expanded;
    ExecQuery(ADOQuery1, QStringLiteral("update tasks set expandFlag=") +
                             (expanded ? QStringLiteral("True") : QStringLiteral("False")) +
                             QStringLiteral(" where tid=") + QuotedStr(node->info.tid));
}

void TzvTasksFrame::VtTasksExpanded(const QModelIndex& index) {
    if (m_restoringExpansion)
        return;
    if (TaskNode* n = m_model->nodeAt(index))
        StoreExpand(n, true);
    UpdateCommands();
}

void TzvTasksFrame::VtTasksCollapsed(const QModelIndex& index) {
    if (m_restoringExpansion)
        return;
    if (TaskNode* n = m_model->nodeAt(index))
        StoreExpand(n, false);
    UpdateCommands();
}

void TzvTasksFrame::VtTasksChecked(TaskNode* node) {
    node->info.checkTime = Clock::Now();
    if (!node->info.tid.isEmpty()) {
        OpenQuery(ADOQuery1,
                  QStringLiteral("select * from tasks where tid=") + QuotedStr(node->info.tid));
        ADOQuery1.edit();
        ADOQuery1.setBool(QStringLiteral("checkFlag"), node->info.checkFlag);
        ADOQuery1.setDateTime(QStringLiteral("checkTime"), node->info.checkTime);
        ADOQuery1.post();
        ADOQuery1.close();
    }
    ApplyFilter();
    UpdateCommands();
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

std::vector<TaskNode*> TzvTasksFrame::MoveTargets() const {
    std::vector<TaskNode*> targets;
    const auto selected = SelectedNodes();
    if (selected.empty())
        return targets;
    const TaskNode* s = selected.front();
    if (!s->isTopLevel())
        targets.push_back(nullptr); // the top level, "Root"
    for (const auto& t : m_model->topLevel())
        if (t.get() != s && t.get() != s->parent())
            targets.push_back(t.get());
    return targets;
}

void TzvTasksFrame::FillMoveToMenu(QMenu* menu) {
    menu->clear();
    if (m_editingNode)
        return;
    for (TaskNode* target : MoveTargets()) {
        if (!target) {
            menu->addAction(QStringLiteral("Root"))->setData(QStringLiteral("root"));
            menu->addSeparator();
            continue;
        }
        QAction* item = menu->addAction(target->info.content);
        item->setData(QVariant::fromValue(static_cast<void*>(target)));
    }
}

void TzvTasksFrame::UpdateCommands() {
    const QList<QAction*> all = {Action_TaskAdd,    Action_SubTaskAdd,   Action_TaskEdit,
                                 Action_TaskDelete, Action_TaskComplete, Action_TaskReminderSet,
                                 Action_TaskDueSet, Action_ViewAsc,      Action_ViewDate,
                                 Action_ViewList,   Action_ExpandAll,    Action_CollapseAll,
                                 Action_SaveAll,    Action_Save,         Action_Email,
                                 Action_Print,      Action_SetColor,     Action_MoveTo,
                                 Action_CopyTask,   Action_PasteTask,    Action_SelectAll,
                                 Action_Deselect};
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
          Menu_ViewAll, Menu_Complete, Menu_Incomplete})
        a->setEnabled(true);
    Comb_ViewRange->setEnabled(true);

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
    Action_TaskComplete->setText(first->info.checkFlag ? QStringLiteral("Unmark Complete")
                                                       : QStringLiteral("Mark Complete"));
    Action_MoveTo->setEnabled(true);
    // Both menus list the same targets; they are counted here and filled
    // when opened.
    const int tops = static_cast<int>(m_model->topLevel().size());
    const int targets = first->isTopLevel() ? tops - 1 : tops; // "Root" stands for the parent
    Menu_Moveto->setEnabled(targets > 0);
    MainMoveTo->setEnabled(targets > 0);
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
    Image_tip->setPixmap(ImageList::Pixmap(icons[mode]));
    Panel_tip->show();
}

void TzvTasksFrame::ApplyFilter() {
    m_hotExpandedNode = nullptr;
    const auto expand =
        ApplyFilterRules(*m_model, Comb_ViewRange->currentIndex(), m_searchActive, m_searchText);
    if (m_model->refreshVisibility())
        RestoreExpansion();
    for (TaskNode* parent : expand) {
        StoreExpand(parent, true);
        const QModelIndex i = m_model->indexOf(parent);
        if (!VtTasks->isExpanded(i))
            VtTasks->setExpanded(i, true);
    }
    const bool searching = m_searchActive && !m_searchText.isEmpty();
    ShowTip(searching && m_model->visibleTopLevelCount() == 0 ? 3 : 0);
    RefreshTrayHint();
}

void TzvTasksFrame::RefreshTrayHint() {
    // Opening the connection has reported its failure already.
    if (!m_main->db().isOpen())
        return;
    m_trayHint = BuildTrayHint(m_main->db(), m_main->options().hintSize);
}

void TzvTasksFrame::SortTree() {
    SortTaskTree(*m_model, m_sortAscending);
}

void TzvTasksFrame::SetSortLook() {
    const int image = m_sortAscending ? ImageList::SortDescending : ImageList::SortAscending;
    const QString hint =
        m_sortAscending ? QStringLiteral("Descending Sort") : QStringLiteral("Ascending Sort");
    Action_ViewAsc->setIcon(ImageList::Icon(image));
    Action_ViewAsc->setProperty("imageIndex", image);
    Action_ViewAsc->setToolTip(hint);
    Action_ViewAsc->setStatusTip(hint);
    Action_ViewAsc->setText(hint);
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

void TzvTasksFrame::VtTasksContextMenu(const QPoint& pos) {
    const QModelIndex at = VtTasks->indexAt(pos);
    QMenu* menu = at.isValid() ? PopupMenu_Task : PopupMenu_Null;
    menu->popup(VtTasks->viewport()->mapToGlobal(pos));
}

void TzvTasksFrame::Comb_ViewRangeChange() {
    if (m_loading)
        return;
    ApplyFilter();
    UpdateCommands();
    VtTasks->setFocus();
    IniFile(m_main->configPath())
        .writeInteger(kTask, QStringLiteral("viewRange"), Comb_ViewRange->currentIndex());
}

void TzvTasksFrame::Action_ViewListExecute() {
    if (m_loading)
        return;
    VtTasks->doItemsLayout();
    VtTasks->viewport()->update();
    IniFile(m_main->configPath())
        .writeBool(kTask, QStringLiteral("viewListEn"), Action_ViewList->isChecked());
}

void TzvTasksFrame::Action_ViewDateExecute() {
    if (m_loading)
        return;
    VtTasks->doItemsLayout();
    VtTasks->viewport()->update();
    IniFile(m_main->configPath())
        .writeBool(kTask, QStringLiteral("viewDateEn"), Action_ViewDate->isChecked());
}

void TzvTasksFrame::Action_ViewAscExecute() {
    m_sortAscending = !m_sortAscending;
    SetSortLook();
    SortTree();
    IniFile(m_main->configPath()).writeBool(kTask, QStringLiteral("viewAscEn"), m_sortAscending);
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
    for (const auto& top : m_model->topLevel()) {
        StoreExpand(top.get(), true);
        const QModelIndex i = m_model->indexOf(top.get());
        if (i.isValid()) {
            m_restoringExpansion = true;
            VtTasks->setExpanded(i, true);
            m_restoringExpansion = false;
        }
    }
    UpdateCommands();
}

void TzvTasksFrame::Action_CollapseAllExecute() {
    for (const auto& top : m_model->topLevel()) {
        StoreExpand(top.get(), false);
        const QModelIndex i = m_model->indexOf(top.get());
        if (i.isValid()) {
            m_restoringExpansion = true;
            VtTasks->setExpanded(i, false);
            m_restoringExpansion = false;
        }
    }
    UpdateCommands();
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

void TzvTasksFrame::SetSearchIdle() {
    m_searchActive = false;
    QPalette p = Edt_Search->palette();
    p.setColor(QPalette::Text, palette().color(QPalette::Disabled, QPalette::Text));
    Edt_Search->setPalette(p);
    Edt_Search->setText(QStringLiteral("  Search..."));
    Btn_Search->setIcon(ImageList::Icon(ImageList::Search));
    Btn_Search->setToolTip(QString());
}

void TzvTasksFrame::SearchEnter() {
    if (m_searchActive)
        return;
    Edt_Search->clear();
    QPalette p = Edt_Search->palette();
    p.setColor(QPalette::Text, palette().color(QPalette::Active, QPalette::Text));
    Edt_Search->setPalette(p);
    m_searchActive = true;
    Btn_Search->setIcon(ImageList::Icon(ImageList::SearchClear));
    Btn_Search->setToolTip(QStringLiteral("Clear search"));
}

void TzvTasksFrame::SearchChange() {
    m_searchText = TrimBoth(Edt_Search->text());
    ApplyFilter();
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

// ------------------------------------------------------------ task editing

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
        TipBox(QStringLiteral("Please select a task!"));
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
            RestoreExpansion();
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
    node->info.content = TrimRight(text);
    m_model->nodeChanged(node); // the search below must see the new text
    const TDateTime now = Clock::Now();
    if (!node->info.tid.isEmpty()) {
        OpenQuery(ADOQuery1,
                  QStringLiteral("select * from tasks where tid=") + QuotedStr(node->info.tid));
        ADOQuery1.edit();
    } else {
        TTaskInfo& t = node->info;
        t.tid = NewGuid();
        t.checkFlag = t.alarmFlag = t.dueFlag = false;
        t.textColor = t.backgroundColor = 0;
        t.createTime = now;
        OpenQuery(ADOQuery1, QStringLiteral("select * from tasks where 1=0"));
        ADOQuery1.append();
        ADOQuery1.setText(QStringLiteral("tid"), t.tid);
        ADOQuery1.setText(QStringLiteral("pid"), t.pid);
        ADOQuery1.setBool(QStringLiteral("checkFlag"), false);
        ADOQuery1.setBool(QStringLiteral("alarmFlag"), false);
        ADOQuery1.setBool(QStringLiteral("dueFlag"), false);
        ADOQuery1.setInt(QStringLiteral("textColor"), 0);
        ADOQuery1.setInt(QStringLiteral("backgroundColor"), 0);
        ADOQuery1.setDateTime(QStringLiteral("createTime"), t.createTime);
    }
    node->info.editTime = now;
    ADOQuery1.setText(QStringLiteral("content"), node->info.content);
    ADOQuery1.setDateTime(QStringLiteral("editTime"), node->info.editTime);
    ADOQuery1.post();
    ADOQuery1.close();
    ApplyFilter();
    UpdateCommands();
}

void TzvTasksFrame::EditorEnd(TaskNode* node) {
    m_editingNode = nullptr;
    if (node && (!node->info.tid.isEmpty() || !node->info.content.isEmpty())) {
        Remeasure(node);
        const QModelIndex index = m_model->indexOf(node);
        if (index.isValid())
            VtTasks->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows);
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
    bool present = false;
    m_model->forEachNode([&](TaskNode* n) { present = present || n == node; });
    if (present && node->info.tid.isEmpty() && node != m_editingNode)
        m_model->removeNode(node);
    ShowTip(0);
}

void TzvTasksFrame::Action_TaskDeleteExecute() {
    const auto selected = SelectedNodes();
    if (m_editingNode || selected.empty())
        return;
    const QString question =
        QStringLiteral("Are you sure you want to delete ") +
        (selected.size() == 1 ? QStringLiteral("this task?") : QStringLiteral("these tasks?"));
    if (AskBox(question) != IDOK)
        return;
    VtTasks->clearSelection();
    for (TaskNode* node : selected) {
        if (!node->info.tid.isEmpty()) {
            ExecQuery(ADOQuery1,
                      QStringLiteral("delete from tasks where tid=") + QuotedStr(node->info.tid));
            ExecQuery(ADOQuery1,
                      QStringLiteral("delete from tasks where pid=") + QuotedStr(node->info.tid));
        }
        m_model->removeNode(node); // a task goes with its sub-tasks
    }
    ApplyFilter();
    UpdateCommands();
}

void TzvTasksFrame::Action_TaskCompleteExecute() {
    const auto selected = SelectedNodes();
    if (m_editingNode || selected.empty())
        return;
    const bool state = !selected.front()->info.checkFlag;
    for (TaskNode* node : selected)
        if (node->info.checkFlag != state)
            m_model->setChecked(node, state);
    UpdateCommands();
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
        if (TcommonDm* common = m_main->commonDm())
            common->Action_UiClose->trigger();
        return true;
    default:
        return false;
    }
}

// ------------------------------------------------------------------ moving

void TzvTasksFrame::Action_MoveToExecute(QAction* item) {
    // Only the items of the Move To menus carry a target.
    if (!item || m_editingNode || !item->data().isValid())
        return;
    TaskNode* target = nullptr;
    if (item->data().typeId() != QMetaType::QString) {
        target = static_cast<TaskNode*>(item->data().value<void*>());
        bool present = false;
        for (const auto& t : m_model->topLevel())
            present = present || t.get() == target;
        if (!present)
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
    VtTasks->clearSelection();
    const QString pid = target ? target->info.tid : RootPid();
    for (TaskNode* row : selected) {
        if (row == target)
            continue; // its own target: it stays, nothing is written
        if (!target && row->isTopLevel() && first)
            continue; // already at the top level
        const auto moved = m_model->moveNode(row, target, first ? 0 : -1);
        RestoreExpansion();
        if (target) {
            StoreExpand(target, true);
            VtTasks->setExpanded(m_model->indexOf(target), true);
        }
        // A task's own sub-tasks came along: each gets the new parent too.
        for (TaskNode* n : moved) {
            n->info.pid = pid;
            if (!n->info.tid.isEmpty())
                ExecQuery(ADOQuery1, QStringLiteral("update tasks set pid=") + QuotedStr(pid) +
                                         QStringLiteral(" where tid=") + QuotedStr(n->info.tid));
        }
    }
    UpdateCommands();
}

// ---------------------------------------------- reminders, due dates, colours

namespace {
// The one reminder pop-up; set only while it exists.
TtaskReminderDlg* taskReminderDlg = nullptr;
} // namespace

TtaskReminderDlg* TzvTasksFrame::ReminderPopup() {
    return taskReminderDlg;
}

void TzvTasksFrame::WriteTaskFields(TaskNode* node, const char* flagName, bool flag,
                                    const char* timeName, TDateTime time) {
    OpenQuery(ADOQuery1,
              QStringLiteral("select * from tasks where tid=") + QuotedStr(node->info.tid));
    ADOQuery1.edit();
    ADOQuery1.setBool(QLatin1String(flagName), flag);
    ADOQuery1.setDateTime(QLatin1String(timeName), time);
    ADOQuery1.post();
    ADOQuery1.close();
}

// Set Reminder and Set Due Date: the first task's pair in the dialog, the
// dialog's pair written to every selected task, each then unselected.
template <typename Dialog>
void TzvTasksFrame::SetFlagAndTime(bool TTaskInfo::*flag, TDateTime TTaskInfo::*time,
                                   const char* flagName, const char* timeName) {
    const auto selected = SelectedNodes();
    if (m_editingNode || selected.empty())
        return;
    Dialog dlg(this, selected.front()->info.*flag, selected.front()->info.*time);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const bool newFlag = dlg.flag();
    const TDateTime newTime = dlg.time();
    for (TaskNode* node : selected) {
        node->info.*flag = newFlag;
        node->info.*time = newTime;
        WriteTaskFields(node, flagName, newFlag, timeName, newTime);
        Remeasure(node);
        VtTasks->selectionModel()->select(m_model->indexOf(node), QItemSelectionModel::Deselect |
                                                                      QItemSelectionModel::Rows);
    }
}

void TzvTasksFrame::Action_TaskReminderSetExecute() {
    SetFlagAndTime<TReminderSetDlg>(&TTaskInfo::alarmFlag, &TTaskInfo::alarmTime, "alarmFlag",
                                    "alarmTime");
}

void TzvTasksFrame::Action_TaskDueSetExecute() {
    SetFlagAndTime<TDueSetDlg>(&TTaskInfo::dueFlag, &TTaskInfo::dueTime, "dueFlag", "dueTime");
}

void TzvTasksFrame::Action_SetColorExecute() {
    const auto selected = SelectedNodes();
    if (m_editingNode || selected.empty())
        return;
    TColorSetDlg dlg(this, selected.front()->info.textColor,
                     selected.front()->info.backgroundColor);
    if (dlg.exec() != QDialog::Accepted)
        return;
    VtTasks->setUpdatesEnabled(false);
    const auto resume = qScopeGuard([this] { VtTasks->setUpdatesEnabled(true); });
    for (TaskNode* node : selected) {
        node->info.textColor = dlg.textColor;
        node->info.backgroundColor = dlg.backgroundColor;
        ExecQuery(ADOQuery1,
                  QStringLiteral("update tasks set textColor=%1, backgroundColor=%2 where tid=")
                          .arg(dlg.textColor)
                          .arg(dlg.backgroundColor) +
                      QuotedStr(node->info.tid));
        m_model->nodeChanged(node);
    }
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
            new TtaskReminderDlg(this, node->info.content, m_main->alarmSoundPath());
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
    bool present = false;
    m_model->forEachNode([&](TaskNode* n) { present = present || n == node; });
    if (!present)
        return;
    node->info.alarmFlag = !dismissed;
    node->info.alarmTime = snoozeUntil;
    WriteTaskFields(node, "alarmFlag", node->info.alarmFlag, "alarmTime", node->info.alarmTime);
    Remeasure(node);
}

// ------------------------------------------------------------------ export

void TzvTasksFrame::Action_ExportExecute() {
    if (m_editingNode)
        return;
    if (SelectedNodes().empty()) {
        WarningBox(QStringLiteral("Please select a task!"));
        return;
    }
    const QString name = AskSaveFileName(TIoDm::SaveFilter(), QStringLiteral("zvx"));
    if (!name.isEmpty())
        ExportSelected(name);
}

bool TzvTasksFrame::ExportSelected(const QString& fileName) {
    const auto selected = SelectedNodes();
    const std::vector<const TaskNode*> nodes(selected.begin(), selected.end());
    try {
        Interchange::WriteExport(nodes, fileName,
                                 m_main->versionInfo().GetVersionValue(TZvVersionInfo::FileVersion),
                                 ErrorBox);
    } catch (const std::exception&) {
        ErrorBox(QStringLiteral("File Write Failure !"));
        return false;
    }
    return true;
}
