#include "FrameHarness.h"
#include "app/Translations.h"
#include "components/ZvStatusBar.h"
#include "dialogs/Dlg_ReplaceAsk.h"
#include "dialogs/TOptionsDlg.h"
#include "gui/ImageList.h"
#include "gui/Messages.h"
#include "gui/ThemeColors.h"
#include "platform/IniFile.h"
#include "tasks/TaskDelegate.h"
#include "tasks/TaskDialogs.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QSignalSpy>

namespace {

// Two top-level tasks stored out of order (A expanded), a complete one, an
// orphan and a grandchild that never show.
void fillSample(const QString& folder) {
    using test::Task;
    test::Fill(folder, {Task("{C}", "root", "cherry"), Task("{A}", "root", "apple", false, true),
                        Task("{A2}", "{A}", "pear"), Task("{A1}", "{A}", "fig", true),
                        Task("{B}", "root", "Banana it's", true), Task("{B1}", "{B}", "kiwi"),
                        Task("{X}", "{nowhere}", "orphan"), Task("{A1x}", "{A1}", "grandchild")});
}

bool storedExpand(const QString& folder, const QString& tid) {
    Database db;
    db.open(folder);
    Query q(db);
    OpenQuery(q, QStringLiteral("select * from tasks where tid=") + QuotedStr(tid));
    return q.boolean(QStringLiteral("expandFlag"));
}

// Records the program's own messages in the order they arrive.
struct MessageLog : QObject {
    QList<int> seen;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() >= 2024 && e->type() <= 2036 && qobject_cast<TzvTasksFrame*>(o))
            seen << e->type();
        return false;
    }
};

} // namespace

class TestFrame : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::FixGuiEnvironment(); }

    // German desktop: our menus, dialogs and messages, and Qt's own buttons;
    // back to the source texts, English, when the catalogues go.
    void germanDesktop() {
        const auto english = qScopeGuard([] { UnloadTranslations(); });
        QCOMPARE(LoadTranslations(QLocale(QLocale::German, QLocale::Germany)),
                 QStringLiteral("de"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("Abbrechen"));
        test::ProgramFolder folder;
        test::Fill(folder.path(), {test::Task("{A}", "root", "apple")});
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        QStringList menus;
        for (QAction* a : f->mainMenu()->actions())
            menus << a->text();
        QCOMPARE(menus.mid(0, 4), QStringList({"&Datei", "&Bearbeiten", "&Ansicht", "Auf&gaben"}));
        QCOMPARE(f->Action_TaskAdd->text(), QStringLiteral("Aufgabe &hinzufügen\tEingabe"));
        QString title;
        test::WhenModal<TDueSetDlg> due([&](TDueSetDlg* d) {
            title = d->windowTitle();
            d->reject();
        });
        p.tree()->setCurrentIndex(p.row(0));
        f->Action_TaskDueSet->trigger();
        QCOMPARE(title, QStringLiteral("Fälligkeitsdatum festlegen"));
        f->Action_TaskDelete->trigger();
        QCOMPARE(p.boxes.shown.last().text,
                 QStringLiteral("Möchten Sie wirklich diese Aufgabe löschen?"));
        UnloadTranslations();
        QCOMPARE(TzvTasksFrame::tr("&File"), QStringLiteral("&File"));
    }

    // A command's picture is drawn at the screen's own pixels, not a 16 or
    // 22 px bitmap blown up; disabled, it is greyed.
    void iconsDrawnAtEveryScale_data() {
        QTest::addColumn<qreal>("scale");
        for (qreal s : {1.0, 1.5, 2.0, 3.0})
            QTest::newRow(qPrintable(QString::number(s))) << s;
    }
    void iconsDrawnAtEveryScale() {
        QFETCH(qreal, scale);
        test::ProgramFolder folder;
        test::Program p(folder.path());
        const QIcon icon = p.show()->Action_TaskAdd->icon();
        for (int side : {16, 22}) {
            const QPixmap pm = icon.pixmap(QSize(side, side), scale);
            QCOMPARE(pm.devicePixelRatio(), scale);
            QCOMPARE(pm.width(), qRound(side * scale));
            QCOMPARE(pm.toImage(), ImageList::Pixmap(ImageList::TaskAdd, side, scale).toImage());
            QVERIFY(icon.pixmap(QSize(side, side), scale, QIcon::Disabled).toImage() !=
                    pm.toImage());
        }
    }

    // 13 px unless the desktop's font is larger; then the list, the search
    // bar and the status bar follow it, at start and when it changes.
    void desktopFontSizeIsFollowed() {
        test::ProgramFolder folder;
        test::Fill(folder.path(), {test::Task("{A}", "root", "apple")});
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        QCOMPARE(QFontInfo(p.tree()->font()).pixelSize(), 13);
        const int row = p.tree()->visualRect(p.row(0)).height();
        const QFont before = QApplication::font();
        const auto restore = qScopeGuard([&] { QApplication::setFont(before); });
        QFont large = before;
        large.setPixelSize(24);
        QApplication::setFont(large);
        QTRY_COMPARE(QFontInfo(p.tree()->font()).pixelSize(), 24);
        QCOMPARE(QFontInfo(f->ZvStatusBar1->font()).pixelSize(), 24);
        QCOMPARE(QFontInfo(f->findChild<QLineEdit*>("Edt_Search")->font()).pixelSize(), 24);
        QTRY_VERIFY(p.tree()->visualRect(p.row(0)).height() > row + 8);
    }

    // What a screen reader finds: named controls, and each row's text and
    // status, with the search field's name following its state.
    void screenReaderNamesAndRowStatus() {
        test::ProgramFolder folder;
        TTaskInfo t = test::Task("{A}", "root", "Plan the trip\r\nwith notes");
        t.alarmFlag = true, t.alarmTime = ToDateTime(QDate(2026, 12, 24), QTime(18, 15));
        t.dueFlag = true, t.dueTime = ToDateTime(QDate(2026, 12, 31), QTime(9, 0));
        test::Fill(folder.path(), {t, test::Task("{B}", "root", "walk, done", true)});
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        const auto name = [](QObject* o) {
            return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name);
        };
        QCOMPARE(name(p.tree()), QStringLiteral("Tasks"));
        QCOMPARE(name(f->findChild<QLineEdit*>("Edt_Search")), QStringLiteral("Search tasks"));
        QCOMPARE(QAccessible::queryAccessibleInterface(f->findChild<QComboBox*>("Comb_ViewRange"))
                     ->text(QAccessible::Description),
                 QStringLiteral("View Range")); // its tip; a box is named by its item
        auto* button = f->findChild<QWidget*>("Btn_Search");
        QCOMPARE(name(button), QStringLiteral("Search"));
        auto* search = f->findChild<QLineEdit*>("Edt_Search");
        const auto content = [search] {
            return QAccessible::queryAccessibleInterface(search)->textInterface()->text(0, -1);
        };
        QCOMPARE(content(), QString()); // the grey hint is no content
        search->setFocus();
        QTRY_COMPARE(name(button), QStringLiteral("Clear search"));
        QCOMPARE(p.row(0).data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("Plan the trip. with notes"));
        QCOMPARE(p.row(0).data(Qt::AccessibleDescriptionRole).toString(),
                 QStringLiteral("Not complete, reminder 24 Dec 2026 18:15:00, due 31 Dec 2026"));
        QCOMPARE(p.row(1).data(Qt::AccessibleDescriptionRole).toString(),
                 QStringLiteral("Complete"));
        QTest::keyClicks(search, "trip");
        QCOMPARE(content(), QStringLiteral("trip"));
    }

    // Every control a dialog gives the keyboard to has a name to be heard.
    void dialogControlsAreNamed() {
        QWidget owner;
        std::vector<std::unique_ptr<QDialog>> dialogs;
        dialogs.push_back(std::make_unique<TReminderSetDlg>(&owner, true, 0));
        dialogs.push_back(std::make_unique<TDueSetDlg>(&owner, true, 0));
        dialogs.push_back(std::make_unique<TColorSetDlg>(&owner, 0, 0xFFFFFF));
        dialogs.push_back(std::make_unique<TtaskReminderDlg>(&owner, "Call", QString()));
        dialogs.push_back(std::make_unique<TReplaceAskDlg>(&owner));
        QTemporaryDir dir;
        AppOptions options;
        const AutoStart autostart(dir.filePath("autostart"), "/usr/bin/tasquel");
        dialogs.push_back(std::make_unique<TOptionsDlg>(
            &owner, options, IniFile(dir.filePath("zvConf.ini")), autostart));
        for (const auto& d : dialogs) {
            d->show();
            for (QWidget* w : d->findChildren<QWidget*>()) {
                if (!w->isVisible() || !(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() ||
                    qobject_cast<QAbstractItemView*>(w->parentWidget()))
                    continue;
                const QString heard =
                    QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
                QVERIFY2(!heard.trimmed().isEmpty(),
                         qPrintable(d->windowTitle() + ": " + w->metaObject()->className() + " " +
                                    w->objectName()));
            }
        }
    }

    // On a light and on a dark palette, every row's text and check box
    // stand out from its row (measured on the drawn pixels), a chosen text
    // colour too, selected or not; the tip panel and its link follow the
    // palette.
    void rowsReadableOnLightAndDarkPalettes_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void rowsReadableOnLightAndDarkPalettes() {
        QFETCH(bool, dark);
        const QPalette light = QApplication::palette();
        QPalette d;
        for (auto [role, c] : {std::pair{QPalette::Window, QColor(53, 53, 53)},
                               {QPalette::WindowText, Qt::white},
                               {QPalette::Base, QColor(35, 35, 35)},
                               {QPalette::AlternateBase, QColor(53, 53, 53)},
                               {QPalette::ToolTipBase, QColor(255, 255, 220)},
                               {QPalette::Text, Qt::white},
                               {QPalette::Button, QColor(53, 53, 53)},
                               {QPalette::ButtonText, Qt::white},
                               {QPalette::Highlight, QColor(42, 130, 218)},
                               {QPalette::HighlightedText, Qt::black},
                               {QPalette::Link, QColor(42, 130, 218)}})
            d.setColor(role, c);
        d.setColor(QPalette::Disabled, QPalette::Text, QColor(127, 127, 127));
        if (dark)
            QApplication::setPalette(d);
        const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
        test::ProgramFolder folder;
        TTaskInfo chosen = test::Task("{C}", "root", "cherry on a chosen yellow");
        chosen.backgroundColor = 0xC0FFFF;
        TTaskInfo blue = test::Task("{D}", "root", "damson in blue");
        blue.textColor = 0xFF0000; // the palette's Blue
        TTaskInfo red = test::Task("{E}", "root", "elder in red");
        red.textColor = 0x0000FF;
        test::Fill(folder.path(), {test::Task("{A}", "root", "apple", false, true),
                                   test::Task("{A1}", "{A}", "seed"),
                                   test::Task("{B}", "root", "banana"), chosen, blue, red});
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        p.tree()->clearSelection();
        auto* delegate = qobject_cast<TaskDelegate*>(p.tree()->itemDelegate());
        QVERIFY(delegate);
        // The best contrast of the drawn pixels in part of a row.
        const auto best = [](const QImage& shot, const QRect& part, const QColor& back) {
            double most = 1;
            for (int y = part.top(); y <= part.bottom(); ++y)
                for (int x = part.left(); x <= part.right(); ++x)
                    most = std::max(most, ThemeColors::Contrast(shot.pixelColor(x, y), back));
            return most;
        };
        QImage shot = p.tree()->viewport()->grab().toImage();
        int rows = 0;
        for (QModelIndex i = p.row(0); i.isValid(); i = p.tree()->indexBelow(i), ++rows) {
            const QRect cell = p.tree()->visualRect(i);
            const QColor back = shot.pixelColor(cell.right() - 2, cell.center().y());
            if (i.row() < 2) // the third row's background is the user's
                QCOMPARE(back.lightnessF() < 0.5, dark);
            const double text = best(shot, delegate->textRect(cell) & shot.rect(), back);
            const double box = best(shot, delegate->checkRect(cell), back);
            const double needed = i.row() >= 3 ? 3.0 : 4.5; // chosen colours keep their hue
            QVERIFY2(text >= needed && box >= 3.0,
                     qPrintable(i.data().toString() + ": " + QString::number(text) + ", " +
                                QString::number(box)));
        }
        QCOMPARE(rows, 6);
        p.select({p.row(4)});
        shot = p.tree()->viewport()->grab().toImage();
        const QRect cell = p.tree()->visualRect(p.row(4));
        const QColor highlight = shot.pixelColor(cell.right() - 2, cell.center().y());
        QVERIFY(best(shot, delegate->textRect(cell), highlight) >= 3.0);
        const QPalette tip = f->findChild<QWidget*>("Panel_tip")->palette();
        QCOMPARE(tip.color(QPalette::Window).lightnessF() < 0.5, dark);
        const QPalette link = f->findChild<QWidget*>("Label_tip")->palette();
        QVERIFY(ThemeColors::Contrast(link.color(QPalette::WindowText),
                                      tip.color(QPalette::Window)) >= 4.5);
    }
    void cleanup() { Clock::SetForTesting({}); }

    void firstShowLoadsSortsAndAttaches() {
        test::ProgramFolder folder;
        fillSample(folder.path());
        MessageLog log;
        qApp->installEventFilter(&log);
        test::Program p(folder.path());
        QVERIFY(p.mainFm->firstShow());
        TzvTasksFrame* f = p.show();
        qApp->removeEventFilter(&log);
        QVERIFY(f);
        QVERIFY(!p.mainFm->firstShow());
        QCOMPARE(log.seen, QList<int>({WM_TASKS_RELOAD, WM_TASKS_ATTACH, WM_TASKS_ATTACH}));
        QVERIFY(p.boxes.shown.isEmpty());

        QCOMPARE(test::Texts(*f->model()), QStringList({"apple", "Banana it's", "cherry"}));
        QCOMPARE(test::Texts(*f->model(), p.row(0)), QStringList({"fig", "pear"}));
        QCOMPARE(test::Texts(*f->model(), p.row(1)), QStringList({"kiwi"}));
        QVERIFY(p.tree()->isExpanded(p.row(0)));
        QVERIFY(!p.tree()->isExpanded(p.row(1)));
        QCOMPARE(p.row(1).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));

        QCOMPARE(p.mainFm->menuBar(), f->mainMenu());
        QCOMPARE(f->tipMode(), 0);
        QVERIFY(!f->Panel_tip->isVisible());
        QCOMPARE(p.tree()->toolTip(), QStringLiteral("Double click to add a Task!"));
        QVERIFY(TzvTasksFrame::KeyboardTips().contains(f->ZvStatusBar1->panelText()));
        QCOMPARE(qApp->focusWidget() == p.tree() || !p.mainFm->isActiveWindow(), true);

        const IniFile ini(folder.configPath());
        QCOMPARE(ini.readInteger("log", "privateTasks", -1), 8);
        QCOMPARE(ini.readInteger("log", "publicTasks", -1), 0);
        QCOMPARE(p.mainFm->storedTaskCount(), 8);
        QVERIFY(!ini.readString("option", "visitWeb", QString()).isEmpty());
        QCOMPARE(f->trayHint(),
                 QStringLiteral(
                     "Incomplete Tasks:\r(1) apple\r(2) cherry\r(3) grandchild\r(4) kiwi\r ..."));
    }

    // A folder without a database gets an empty one, and is told so.
    void missingDatabaseIsMadeEmpty() {
        test::ProgramFolder folder(false);
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        QVERIFY(QFileInfo::exists(folder.path() + Database::FileName));
        QTRY_VERIFY(f->ZvStatusBar1->panelText().startsWith("New empty database: "));
        QVERIFY(p.boxes.shown.isEmpty());
        QCOMPARE(f->model()->totalCount(), 0);
    }

    void emptyTableInvitesToAdd() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        QCOMPARE(f->model()->rowCount(), 0);
        QCOMPARE(f->tipMode(), 1);
        QVERIFY(f->Panel_tip->isVisible());
        QCOMPARE(f->Label_tip->text(), QStringLiteral("Click here to Add a new Item."));
        QCOMPARE(f->Panel_tip->palette().color(QPalette::Window), QColor(255, 255, 225));
        QCOMPARE(f->trayHint(), QStringLiteral("Incomplete Tasks:\rNone"));
    }

    // A key that lands on the current row selects it; Ctrl+F12 minimises
    // from the search box too.
    void keysOnAOneRowList() {
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            test::InsertTask(db, test::Task("{A}", "root", "only"));
        }
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        QVERIFY(f->SelectedNodes().empty());
        QTest::keyClick(p.tree(), Qt::Key_Home);
        QCOMPARE(f->SelectedNodes().size(), size_t(1));
        QSignalSpy closed(p.common->Action_UiClose, &QAction::triggered);
        QTest::keyClick(f->Edt_Search, Qt::Key_F12, Qt::ControlModifier);
        QCOMPARE(closed.count(), 1);
    }

    void expansionIsStoredAtOnce() {
        test::ProgramFolder folder;
        fillSample(folder.path());
        {
            test::Program p(folder.path());
            p.show();
            p.tree()->collapse(p.row(0));
            QVERIFY(!storedExpand(folder.path(), "{A}"));
            p.tree()->expand(p.row(1));
            QVERIFY(storedExpand(folder.path(), "{B}"));
            QVERIFY(p.boxes.shown.isEmpty());
        }
        test::Program again(folder.path());
        again.show();
        QVERIFY(!again.tree()->isExpanded(again.row(0)));
        QVERIFY(again.tree()->isExpanded(again.row(1)));
        again.frame->Action_ExpandAll->trigger();
        QVERIFY(storedExpand(folder.path(), "{A}") && storedExpand(folder.path(), "{C}"));
        QVERIFY(again.tree()->isExpanded(again.row(0)));
        again.frame->Action_CollapseAll->trigger();
        QVERIFY(!storedExpand(folder.path(), "{A}") && !storedExpand(folder.path(), "{B}"));
        QVERIFY(!again.tree()->isExpanded(again.row(1)));
    }

    void commandsFollowTheSelection() {
        test::ProgramFolder folder;
        fillSample(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        auto* sel = p.tree()->selectionModel();

        // Nothing selected: general commands only.
        QVERIFY(f->Action_TaskAdd->isEnabled() && f->Action_SelectAll->isEnabled());
        QVERIFY(f->Comb_ViewRange->isEnabled() && f->Menu_Complete->isEnabled());
        QVERIFY(!f->Action_TaskEdit->isEnabled() && !f->Action_TaskDelete->isEnabled());
        QVERIFY(!f->Action_SetColor->isEnabled() && !f->Action_MoveTo->isEnabled());
        QVERIFY(!f->Menu_Moveto->isEnabled() && !f->MainMoveTo->isEnabled());

        // A complete task first: "Unmark Complete".
        sel->select(p.row(1), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QVERIFY(f->Action_TaskEdit->isEnabled() && f->Action_TaskComplete->isEnabled());
        QCOMPARE(f->Action_TaskComplete->text(), QStringLiteral("U&nmark Complete"));
        QVERIFY(f->Menu_Moveto->isEnabled() && f->MainMoveTo->isEnabled());
        std::vector<TaskNode*> targets = f->MoveTargets();
        QCOMPARE(targets.size(), size_t(2)); // apple and cherry, not itself
        QVERIFY(std::find(targets.begin(), targets.end(), nullptr) == targets.end());

        sel->select(p.row(0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QCOMPARE(f->Action_TaskComplete->text(), QStringLiteral("Mar&k Complete"));

        // A sub-task: "Root" first, its own parent left out.
        sel->setCurrentIndex(p.row(0, 1),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        targets = f->MoveTargets();
        QCOMPARE(targets.size(), size_t(3));
        QCOMPARE(targets[0], nullptr);
        QCOMPARE(targets[1]->info.content, QStringLiteral("Banana it's"));
        f->MainMoveTo->aboutToShow();
        QStringList captions;
        for (QAction* a : f->MainMoveTo->actions())
            captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(captions, QStringList({"Root", "-", "Banana it's", "cherry"}));
    }

    void onlyOneTaskMeansNowhereToMove() {
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            test::InsertTask(db, test::Task("{A}", "root", "alone"));
        }
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        p.tree()->selectionModel()->select(p.row(0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QVERIFY(f->Action_MoveTo->isEnabled());
        QVERIFY(!f->Menu_Moveto->isEnabled() && !f->MainMoveTo->isEnabled());
        QVERIFY(f->MoveTargets().empty());
    }

    void selectionHoldsSiblingsOnly() {
        test::ProgramFolder folder;
        fillSample(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        auto* sel = p.tree()->selectionModel();
        sel->select(p.row(0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        sel->select(p.row(2), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(f->SelectedNodes().size(), size_t(2));
        // Adding a sub-task as the current row drops the top-level rows.
        sel->setCurrentIndex(p.row(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const auto nodes = f->SelectedNodes();
        QCOMPARE(nodes.size(), size_t(1));
        QCOMPARE(nodes[0]->info.content, QStringLiteral("fig"));

        f->Action_SelectAll->trigger();
        QCOMPARE(f->SelectedNodes().size(), size_t(3));
        f->Action_Deselect->trigger();
        QVERIFY(f->SelectedNodes().empty());
    }

    void checkBoxIsWrittenBothWays() {
        test::ProgramFolder folder;
        fillSample(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        const QDateTime first(QDate(2026, 3, 1), QTime(9, 15));
        Clock::SetForTesting([&] { return first; });
        f->model()->setData(p.row(2), Qt::Checked, Qt::CheckStateRole); // cherry
        Database db;
        db.open(folder.path());
        Query q(db);
        OpenQuery(q, "select * from tasks where tid='{C}'");
        QVERIFY(q.boolean("checkFlag"));
        QCOMPARE(FromDateTime(q.dateTime("checkTime")), first);
        const QDateTime second(QDate(2026, 3, 2), QTime(10, 0));
        Clock::SetForTesting([&] { return second; });
        f->model()->setData(p.row(2), Qt::Unchecked, Qt::CheckStateRole);
        OpenQuery(q, "select * from tasks where tid='{C}'");
        QVERIFY(!q.boolean("checkFlag"));
        QCOMPARE(FromDateTime(q.dateTime("checkTime")), second);
        QVERIFY(p.boxes.shown.isEmpty());
        // Space on the selected row: the status bar follows at once.
        p.tree()->setCurrentIndex(p.row(2));
        QVERIFY(!f->ZvStatusBar1->panelText().endsWith(" completed"));
        QTest::keyClick(p.tree(), Qt::Key_Space);
        QVERIFY2(f->ZvStatusBar1->panelText().endsWith(" completed"),
                 qPrintable(f->ZvStatusBar1->panelText()));
    }

    void viewSettingsAreReadAtReloadAndStored() {
        test::ProgramFolder folder;
        fillSample(folder.path());
        const IniFile ini(folder.configPath());
        ini.writeInteger("task", "viewRange", 2);
        ini.writeBool("task", "viewAscEn", false);
        ini.writeBool("task", "viewListEn", true);
        {
            test::Program p(folder.path());
            TzvTasksFrame* f = p.show();
            QCOMPARE(f->Comb_ViewRange->currentIndex(), 2);
            QVERIFY(f->Menu_Incomplete->isChecked());
            QVERIFY(f->Action_ViewList->isChecked() && !f->Action_ViewDate->isChecked());
            QVERIFY(!f->sortAscending());
            QCOMPARE(f->Action_ViewAsc->toolTip(), QStringLiteral("Ascending Sort"));
            QCOMPARE(f->Action_ViewAsc->property("imageIndex").toInt(), 9);
            // Incomplete only, descending; the complete Banana stays for kiwi.
            QCOMPARE(test::Texts(*f->model()), QStringList({"cherry", "Banana it's", "apple"}));
            QCOMPARE(test::Texts(*f->model(), p.row(0 + 2)), QStringList({"pear"}));

            f->Menu_Complete->trigger();
            QCOMPARE(f->Comb_ViewRange->currentIndex(), 1);
            QCOMPARE(test::Texts(*f->model()), QStringList({"Banana it's", "apple"}));
            QCOMPARE(ini.readInteger("task", "viewRange", -1), 1);
            f->Action_ViewAsc->trigger();
            QCOMPARE(f->Action_ViewAsc->toolTip(), QStringLiteral("Descending Sort"));
            QCOMPARE(test::Texts(*f->model()), QStringList({"apple", "Banana it's"}));
            QVERIFY(ini.readBool("task", "viewAscEn", false));
            f->Action_ViewDate->trigger();
            QVERIFY(ini.readBool("task", "viewDateEn", false));
        }
        // A wrong value in the file falls back to the first range.
        ini.writeString("task", "viewRange", "7");
        test::Program p(folder.path());
        QCOMPARE(p.show()->Comb_ViewRange->currentIndex(), 0);
        QVERIFY(p.boxes.shown.isEmpty());
    }

    // A database that cannot be opened (here a folder in its place).
    void unopenableDatabaseIsReportedOnceAndNothingCrashes() {
        test::ProgramFolder folder(false);
        QVERIFY(QDir().mkpath(folder.path() + "zvData.zvb"));
        test::Program p(folder.path());
        QCOMPARE(p.boxes.shown.size(), 1);
        QCOMPARE(p.boxes.shown[0].caption, QStringLiteral("Zarvik Tasquel Lite"));
        QVERIFY(p.boxes.shown[0].text.contains(QLatin1String("zvData.zvb")));
        TzvTasksFrame* f = p.show();
        QVERIFY(f && p.mainFm->isVisible());
        QCOMPARE(p.boxes.shown.size(), 1);
        QCOMPARE(f->tipMode(), 1);
        QVERIFY(QFileInfo(folder.path() + "zvData.zvb").isDir()); // left as it was
        // Settings and paths were still set up.
        QCOMPARE(p.mainFm->configPath(), folder.configPath());
        QCOMPARE(p.mainFm->alarmSoundPath(), folder.path() + "Sounds/Alarm.wav");
        // A later database command fails with a box of its own.
        Guarded([&] { f->CountTasks(); });
        QCOMPARE(p.boxes.shown.size(), 2);
        QCOMPARE(p.boxes.shown[1].caption, QStringLiteral("Zarvik Tasquel Lite"));
    }

    void missingPictureDoesNotStopTheStart() {
        test::ProgramFolder folder;
        fillSample(folder.path());
        QVERIFY(QFile::remove(folder.path() + "Images/itemBackground1.bmp"));
        test::Program p(folder.path());
        QCOMPARE(p.boxes.shown.size(), 1);
        QVERIFY(p.boxes.shown[0].text.contains(QLatin1String("itemBackground1.bmp")));
        QVERIFY(p.mainFm->db().isOpen());
        QVERIFY(!p.mainFm->backgrounds().item0.isNull());
        TzvTasksFrame* f = p.show();
        QCOMPARE(f->model()->rowCount(), 3);
        QCOMPARE(p.boxes.shown.size(), 1);
    }

    void exitFreesTheFrameAndCloses() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        p.show();
        QPointer<TzvTasksFrame> frame = p.frame;
        p.frame = nullptr;
        p.tester.reset();
        p.mainFm->close(); // until the tray icon, closing is Exit
        QVERIFY(p.mainFm->exiting());
        QVERIFY(frame.isNull());
        QVERIFY(!p.mainFm->isVisible());
    }
};

QTEST_MAIN(TestFrame)
#include "test_frame.moc"
