#include "TzvTasksFrame.h"

#include "gui/ThemeColors.h"

#include "TaskTree.h"
#include "components/ZvStatusBar.h"
#include "gui/AccessibleIdleText.h"
#include "gui/AccessibleMenus.h"
#include "gui/AppContext.h"
#include "gui/ImageList.h"
#include "gui/pU_Boxes.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

// What the frame shows around the tree: the main menu, the context menus,
// the tool bars with the search box, the tip panel and the status bar.

namespace {

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

// Without a notification area, the icon's Exit has no place to be: File
// has it at its end.
void TzvTasksFrame::ShowExitInFileMenu(bool show) {
    QMenu* file = MainMenu1->findChild<QMenu*>(QStringLiteral("File1"));
    if (!file || file->actions().contains(m_context.actions.exit) == show)
        return;
    if (show) {
        m_exitSeparator = file->addSeparator();
        file->addAction(m_context.actions.exit);
    } else {
        file->removeAction(m_context.actions.exit);
        delete m_exitSeparator;
    }
}

// The tip panel's colours follow the desktop's palette, light or dark.
void TzvTasksFrame::ApplyThemeColors() {
    QPalette tipPalette = Panel_tip->palette();
    tipPalette.setColor(QPalette::Window, ThemeColors::TipBackground(palette()));
    Panel_tip->setPalette(tipPalette);
    ThemeColors::UseBlueText(Label_tip);
}

void TzvTasksFrame::CreateMenus() {
    const SharedActions& shared = m_context.actions;
    MainMenu1 = new QMenuBar(nullptr);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = MainMenu1->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("File1"));
    file->addAction(shared.options);
    file->addSeparator();
    file->addAction(shared.backup);
    file->addAction(shared.restore);
    file->addSeparator();
    file->addAction(Action_Export);
    file->addAction(shared.import);
    file->addAction(Action_ExportCalendar);
    file->addAction(shared.importCalendar);
    if (shared.sync)
        file->addAction(shared.sync);
    file->addSeparator();
    file->addAction(Action_SaveAll);
    file->addAction(Action_Print);
    file->addSeparator();
    file->addAction(shared.stayOnTop);
    file->addSeparator();
    file->addAction(shared.close);
    // Exit follows when the window says there is no notification area.

    QMenu* edit = MainMenu1->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->addAction(Action_Undo);
    edit->addAction(Action_Redo);
    edit->addSeparator();
    edit->addAction(Action_CopyTask);
    edit->addAction(Action_PasteTask);
    edit->addSeparator();
    edit->addAction(Action_SelectAll);
    edit->addAction(Action_Deselect);

    QMenu* view = MainMenu1->addMenu(tr("&View"));
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
    view->addSeparator();
    view->addAction(Action_ViewAsc);

    QMenu* tasks = MainMenu1->addMenu(tr("&Tasks"));
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
    MainMoveTo = tasks->addMenu(tr("&Move to"));
    MainMoveTo->setObjectName(QStringLiteral("MainMoveTo"));
    MainMoveTo->menuAction()->setToolTip(tr("Move tasks to other group"));
    MainMoveTo->menuAction()->setStatusTip(tr("Move tasks to other group"));

    QMenu* help = MainMenu1->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    help->addAction(shared.helpContents);
    help->addSeparator();
    help->addAction(shared.contact);
    help->addAction(shared.suggestion);
    help->addSeparator();
    help->addAction(shared.website);
    help->addAction(shared.update);
    help->addSeparator();
    help->addAction(shared.resources);
    help->addSeparator();
    help->addAction(shared.about);

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
    Menu_Moveto = PopupMenu_Task->addMenu(tr("&Move To"));
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
    const TBackgrounds& bg = m_context.backgrounds;
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
    Label_tip->installEventFilter(this);
    auto* tipLayout = new QHBoxLayout(Panel_tip);
    tipLayout->setContentsMargins(4, 4, 4, 4);
    tipLayout->addWidget(Image_tip, 0, Qt::AlignTop);
    tipLayout->addWidget(Label_tip, 1);
    Panel_tip->hide();
    ApplyThemeColors();

    ToolBar_Bottom = new TBitmapToolBar(bg.searchbar, this);
    ToolBar_Bottom->setObjectName(QStringLiteral("ToolBar_Bottom"));
    ToolBar_Bottom->setIconSize(QSize(16, 16));
    Comb_ViewRange = new QComboBox(ToolBar_Bottom);
    Comb_ViewRange->setObjectName(QStringLiteral("Comb_ViewRange"));
    Comb_ViewRange->addItems({tr("View All Tasks"), tr("View Complete"), tr("View Incomplete")});
    // Wide enough for its longest item in whatever font the desktop gives.
    Comb_ViewRange->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Comb_ViewRange->setMinimumWidth(121);
    Comb_ViewRange->setToolTip(tr("View Range"));
    Edt_Search = new QLineEdit(ToolBar_Bottom);
    Edt_Search->setObjectName(QStringLiteral("Edt_Search"));
    Edt_Search->setToolTip(tr("Input search string"));
    Edt_Search->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Edt_Search->installEventFilter(this);
    SetIdleText(Edt_Search, false);
    InstallAccessibleIdleText();
    Btn_Search = new QToolButton(ToolBar_Bottom);
    Btn_Search->setObjectName(QStringLiteral("Btn_Search"));
    Btn_Search->setAutoRaise(true);
    // Names for screen readers; the captions stay as they are.
    Edt_Search->setAccessibleName(tr("Search tasks"));
    Btn_Search->setAccessibleName(tr("Search"));
    VtTasks->setAccessibleName(tr("Tasks"));
    Panel_tip->setAccessibleName(tr("Tip"));
    // Tool buttons and menu items say their caption without its shortcut.
    InstallAccessibleMenus();
    for (QAction* a : ToolBar_Top->actions())
        if (QWidget* w = ToolBar_Top->widgetForAction(a);
            w && SpokenCaption(a->text()) != a->text())
            w->setAccessibleName(SpokenCaption(a->text()));
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
    ZvStatusBar1->StatusImage->setPixmap(
        ImageList::Pixmap(ImageList::TaskAdd, 16, ZvStatusBar1->devicePixelRatioF()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar_Top);
    layout->addWidget(VtTasks, 1);
    layout->addWidget(Panel_tip);
    layout->addWidget(ToolBar_Bottom);
    layout->addWidget(ZvStatusBar1);
    SetSearchIdle();

    // Keys of every desktop: Ctrl+F to the search box, Shift+F10 for the
    // row's menu, as the Menu key gives it.
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        if (!m_editingNode)
            Edt_Search->setFocus(Qt::ShortcutFocusReason);
    });
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), VtTasks);
    menuKey->setContext(Qt::WidgetShortcut);
    connect(menuKey, &QShortcut::activated, this, [this] {
        const QModelIndex current = VtTasks->currentIndex();
        VtTasksContextMenu(current.isValid() ? VtTasks->visualRect(current).center()
                                             : VtTasks->viewport()->rect().center());
    });
}

void TzvTasksFrame::VtTasksContextMenu(const QPoint& pos) {
    const QModelIndex at = VtTasks->indexAt(pos);
    QMenu* menu = at.isValid() ? PopupMenu_Task : PopupMenu_Null;
    menu->popup(VtTasks->viewport()->mapToGlobal(pos));
}
