#include "FrameHarness.h"
#include "components/ZvTray.h"
#include "platform/IniFile.h"
#include "platform/pU_Funcs.h"
#include "tasks/TaskDialogs.h"

#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTextDocument>

namespace {

// A notification area that records every call and fails when told to.
class FakeArea : public TZvNotifyArea {
public:
    using TZvNotifyArea::TZvNotifyArea;
    struct Call {
        Command command;
        TNotifyIconData data;
    };
    bool isAvailable() const override { return available; }
    bool notify(Command command, const TNotifyIconData& data) override {
        calls.push_back({command, data});
        if (failNext > 0) {
            --failNext;
            return false;
        }
        return true;
    }
    void fire(int code) { emit callback(code); }
    int count(Command c) const {
        return int(std::count_if(calls.begin(), calls.end(),
                                 [&](const Call& k) { return k.command == c; }));
    }
    QList<Call> balloons() const {
        QList<Call> b;
        for (const Call& k : calls)
            if (k.data.flags & TNotifyIconData::Info)
                b << k;
        return b;
    }

    bool available = true;
    int failNext = 0;
    QList<Call> calls;
};

// The fake behind every tray icon the program makes.
FakeArea* g_area = nullptr;

// New tray icons get a fake area, there or not.
void UseFakeArea(bool available = true) {
    SetNotifyAreaFactory([available](QObject* parent) {
        g_area = new FakeArea(parent);
        g_area->available = available;
        return g_area;
    });
}

QIcon Swatch(Qt::GlobalColor c) {
    QPixmap pm(16, 16);
    pm.fill(c);
    return QIcon(pm);
}

} // namespace

class TestTray : public QObject {
    Q_OBJECT
    test::Boxes m_boxes;

private slots:
    void initTestCase() {
        test::FixGuiEnvironment();
        UseFakeArea();
    }
    void init() {
        m_boxes = {};
        SetMessageBoxHandler([this](const QString& caption, const QString& text, int) {
            m_boxes.shown.push_back({caption, text});
            return 1;
        });
    }
    void cleanup() { SetMessageBoxHandler({}); }

    // The tip is cut to 127 characters, left out with ShowHint off, and an
    // unchanged hint makes no call.
    void tipRules_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("passed");
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("127") << 127 << 127;
        QTest::newRow("128") << 128 << 127;
        QTest::newRow("134") << 134 << 127;
    }
    void tipRules() {
        QFETCH(int, length);
        QFETCH(int, passed);
        QWidget owner;
        TZvTrayIcon tray(&owner);
        FakeArea* area = g_area;
        tray.Loaded();
        QCOMPARE(area->count(TZvNotifyArea::Add), 1);
        QCOMPARE(area->calls.last().data.flags, 7);
        const QString hint = QString(length, u'x');
        tray.SetHint(hint);
        QCOMPARE(area->calls.last().command, TZvNotifyArea::Modify);
        QCOMPARE(area->calls.last().data.tip, hint.left(127));
        QCOMPARE(area->calls.last().data.tip.size(), passed);
        QCOMPARE(tray.Hint(), hint); // the full text is kept
        const int calls = area->calls.size();
        tray.SetHint(hint);
        QCOMPARE(area->calls.size(), calls);
        tray.SetShowHint(false);
        QCOMPARE(area->calls.last().data.flags, 3);
        QVERIFY(area->calls.last().data.tip.isEmpty());
        tray.SetHint(QStringLiteral("other")); // stored, not passed
        QCOMPARE(area->calls.size(), calls + 1);
        tray.SetShowHint(true);
        QCOMPARE(area->calls.last().data.tip, QStringLiteral("other"));
        QCOMPARE(area->calls.last().data.flags, 7);
        QVERIFY(m_boxes.shown.isEmpty());
    }

    void balloonLimits_data() {
        QTest::addColumn<int>("kind");
        for (int k = 0; k < 4; ++k)
            QTest::newRow(qPrintable(QString::number(k))) << k;
    }
    void balloonLimits() {
        QFETCH(int, kind);
        QWidget owner;
        TZvTrayIcon tray(&owner);
        tray.Loaded();
        tray.ShowBalloonHint(QString(70, u't'), QString(300, u'b'), 10, kind);
        const TNotifyIconData d = g_area->calls.last().data;
        QCOMPARE(g_area->calls.last().command, TZvNotifyArea::Modify);
        QCOMPARE(d.flags, int(TNotifyIconData::Info));
        QCOMPARE(d.infoTitle.size(), 63);
        QCOMPARE(d.info.size(), 255);
        QCOMPARE(d.timeoutMs, 10000);
        QCOMPARE(d.infoKind, kind);
        g_area->failNext = 1;
        tray.ShowBalloonHint(QStringLiteral("t"), QStringLiteral("b"), 1, kind);
        QVERIFY(m_boxes.shown.isEmpty()); // a balloon that fails is not reported
    }

    // Each failed call has its message; a failed add is tried again at the
    // next hide.
    void failuresAreReported_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("text");
        QTest::newRow("add") << "add"
                             << "AddToTray can not add icon to the tray";
        QTest::newRow("hint") << "hint"
                              << "SetHint Error";
        QTest::newRow("show hint") << "showhint"
                                   << "SetShowHint Error";
        QTest::newRow("icon") << "icon"
                              << "ResetIcon Error";
        QTest::newRow("index") << "index"
                               << "SetImageIndex: No image list assigned";
    }
    void failuresAreReported() {
        QFETCH(QString, what);
        QFETCH(QString, text);
        QWidget owner;
        owner.show();
        TZvTrayIcon tray(&owner);
        if (what == QLatin1String("add"))
            g_area->failNext = 1;
        tray.Loaded();
        if (what != QLatin1String("add"))
            g_area->failNext = 1;
        if (what == QLatin1String("hint"))
            tray.SetHint(QStringLiteral("x"));
        else if (what == QLatin1String("showhint"))
            tray.SetShowHint(false);
        else if (what == QLatin1String("icon"))
            tray.SetIcon(Swatch(Qt::red));
        else if (what == QLatin1String("index")) {
            g_area->failNext = 0;
            tray.SetImageIndex(1);
        }
        QCOMPARE(m_boxes.texts(), QStringList({text}));
        QCOMPARE(m_boxes.shown.first().caption, QStringLiteral("Zarvik TrayIcon Error"));
        if (what == QLatin1String("add")) {
            QVERIFY(!tray.isAdded());
            QCloseEvent byUser; // the close button: hidden, and added this time
            QCoreApplication::sendEvent(owner.windowHandle(), &byUser);
            QVERIFY(tray.isAdded());
            QVERIFY(!owner.isVisible());
            QCOMPARE(g_area->count(TZvNotifyArea::Add), 2);
        }
    }

    // Animation runs over the images; Interval 0 becomes 200; Active off and
    // on resumes it.
    void animation() {
        QWidget owner;
        TZvTrayIcon tray(&owner);
        const QList<QIcon> images = {Swatch(Qt::red), Swatch(Qt::green), Swatch(Qt::blue)};
        tray.SetImages(images);
        tray.Loaded();
        tray.SetInterval(0);
        tray.SetAnimate(true);
        QCOMPARE(tray.Interval(), 200);
        const int start = g_area->calls.size();
        QTRY_VERIFY_WITH_TIMEOUT(g_area->calls.size() >= start + 4, 3000);
        QList<qint64> shown;
        for (int i = start; i < start + 4; ++i)
            shown << g_area->calls[i].data.icon.cacheKey();
        QCOMPARE(shown, (QList<qint64>{images[0].cacheKey(), images[1].cacheKey(),
                                       images[2].cacheKey(), images[0].cacheKey()}));
        tray.SetActive(false);
        QVERIFY(!tray.Animate());
        QVERIFY(!tray.isAdded());
        tray.SetActive(true);
        QVERIFY(tray.Animate());
        const int again = g_area->calls.size();
        QTRY_VERIFY_WITH_TIMEOUT(g_area->calls.size() > again, 3000);
        tray.SetAnimate(false);
        QCOMPARE(g_area->calls.last().data.icon.cacheKey(), images[0].cacheKey());
    }

    // The event codes of the notification area and what they raise.
    void eventCodes_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("raised");
        QTest::newRow("left down") << 513 << "click 1";
        QTest::newRow("middle down") << 519 << "click 4";
        QTest::newRow("left double") << 515 << "double 1 restore";
        QTest::newRow("right double") << 518 << "double 2 restore";
        QTest::newRow("middle double") << 521 << "double 4 restore";
        QTest::newRow("right down") << 516 << "menu";
        QTest::newRow("balloon hidden") << 1027 << "hide";
        QTest::newRow("balloon timed out") << 1028 << "close";
        QTest::newRow("balloon clicked") << 1029 << "balloon";
        QTest::newRow("left up") << 514 << "";
        QTest::newRow("move") << 512 << "";
    }
    void eventCodes() {
        QFETCH(int, code);
        QFETCH(QString, raised);
        QWidget owner;
        TZvTrayIcon tray(&owner);
        tray.Loaded();
        QStringList seen;
        connect(&tray, &TZvTrayIcon::OnClick, this, [&](Qt::MouseButton b, Qt::KeyboardModifiers) {
            seen << QStringLiteral("click %1").arg(int(b));
        });
        connect(&tray, &TZvTrayIcon::OnDblClick, this,
                [&](Qt::MouseButton b, Qt::KeyboardModifiers, bool&) {
                    seen << QStringLiteral("double %1").arg(int(b));
                });
        connect(&tray, &TZvTrayIcon::OnRestore, this,
                [&] { seen.last() += QStringLiteral(" restore"); });
        connect(&tray, &TZvTrayIcon::OnBalloonHintHide, this, [&] { seen << "hide"; });
        connect(&tray, &TZvTrayIcon::OnBalloonHintClose, this, [&] { seen << "close"; });
        connect(&tray, &TZvTrayIcon::OnBalloonHintClick, this, [&] { seen << "balloon"; });
        g_area->fire(code);
        if (tray.PopupMenu()->isVisible()) {
            seen << "menu";
            tray.PopupMenu()->close();
        }
        QCOMPARE(seen.join(u'|'), raised);
        QCOMPARE(owner.isVisible(), raised.endsWith(QLatin1String("restore")));
    }

    void doubleClickCanKeepTheOwnerHidden() {
        QWidget owner;
        TZvTrayIcon tray(&owner);
        tray.Loaded();
        connect(&tray, &TZvTrayIcon::OnDblClick, this,
                [](Qt::MouseButton, Qt::KeyboardModifiers, bool& restore) { restore = false; });
        g_area->fire(TZvTrayIcon::LeftDouble);
        QVERIFY(!owner.isVisible());
    }

    // Close by the window manager hides; close from code closes; minimise
    // without MinimizeToTray minimises and still reports it.
    void ownerHook() {
        QWidget owner;
        owner.show();
        TZvTrayIcon tray(&owner);
        tray.Loaded();
        QSignalSpy minimized(&tray, &TZvTrayIcon::OnMinimize);
        QCloseEvent byUser;
        QCoreApplication::sendEvent(owner.windowHandle(), &byUser);
        QVERIFY(!byUser.isAccepted());
        QVERIFY(!owner.isVisible());
        tray.Restore();
        QVERIFY(owner.isVisible());

        tray.Minimize();
        QTRY_VERIFY(owner.isMinimized());
        QTRY_COMPARE(minimized.count(), 1);
        tray.Restore();
        QVERIFY(!owner.isMinimized());

        tray.MinimizeToTray = true;
        owner.showMinimized(); // the window's own minimise button
        QTRY_VERIFY(!owner.isVisible());
        QVERIFY(!owner.isMinimized());
        QTRY_COMPARE(minimized.count(), 2);
        tray.Restore();
        QVERIFY(owner.isVisible());

        QVERIFY(owner.close()); // from code
        QVERIFY(!owner.isVisible());
    }

    // The program in the notification area.
    void mainWindowMenusAndHint() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        QVERIFY(p.mainFm->hasNotifyArea());
        QStringList items;
        for (QAction* a : p.mainFm->PopupMenu_Tray->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(items, QStringList({"&Open Zarvik Tasquel", "-", "&Add Task", "Paste to &Task",
                                     "-", "E&xit"}));
        QCOMPARE(p.mainFm->trayIcon()->PopupMenu(), p.mainFm->PopupMenu_Tray);
        // File ends with Exit (Ctrl+Q) too: the keyboard's way out.
        QCOMPARE(f->mainMenu()->actions().first()->menu()->actions().last(), p.mainFm->Action_Exit);
        QCOMPARE(p.mainFm->Action_Exit->shortcut(), QKeySequence("Ctrl+Q"));
        QCOMPARE(p.mainFm->trayIcon()->Hint(), QStringLiteral("Incomplete Tasks:\rNone"));
        QCOMPARE(p.mainFm->windowTitle(), QStringLiteral("Zarvik Tasquel Lite"));
    }

    void hintGoesToTheIconCut_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("tip");
        QTest::newRow("none") << QStringList() << "Incomplete Tasks:\rNone";
        QTest::newRow("exactly four") << QStringList({"a", "b", "c", "d"})
                                      << "Incomplete Tasks:\r(1) a\r(2) b\r(3) c\r(4) d\r ...";
        QTest::newRow("exactly hint size")
            << QStringList({QString(20, u'e')}) << "Incomplete Tasks:\r(1) " + QString(20, u'e');
        QTest::newRow("multi-line")
            << QStringList({"two\r\nlines"}) << "Incomplete Tasks:\r(1) two  lines";
        const QString l = QString(30, u'l');
        QString four = QStringLiteral("Incomplete Tasks:");
        for (int i = 1; i <= 4; ++i)
            four += QStringLiteral("\r(%1) ").arg(i) + QString(20, u'l') + QStringLiteral("...");
        QTest::newRow("134 cut to 127") << QStringList({l, l, l, l}) << four.left(127);
    }
    void hintGoesToTheIconCut() {
        QFETCH(QStringList, texts);
        QFETCH(QString, tip);
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            int i = 0;
            for (const QString& t : texts)
                test::InsertTask(db, test::Task(QStringLiteral("{%1}").arg(++i), "root", t));
        }
        test::Program p(folder.path());
        p.show();
        QCOMPARE(g_area->calls.last().data.tip, tip);
        QCOMPARE(p.mainFm->trayIcon()->Hint(), p.frame->trayHint()); // kept whole
    }

    // Close and Ctrl+F12 hide to the icon with one balloon an hour; a click
    // on the icon brings the window back.
    void hidingShowsOneBalloonAnHour() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        FakeArea* area = g_area;
        QCloseEvent byUser;
        QCoreApplication::sendEvent(p.mainFm->windowHandle(), &byUser);
        QVERIFY(!p.mainFm->isVisible());
        QVERIFY(!p.mainFm->exiting());
        QCOMPARE(area->balloons().size(), 1);
        const TNotifyIconData b = area->balloons().first().data;
        QCOMPARE(b.infoTitle, QStringLiteral("Zarvik Tasquel Lite"));
        QCOMPARE(b.info, QStringLiteral("Click here to open!"));
        QCOMPARE(b.timeoutMs, 10000);
        QCOMPARE(b.infoKind, 1);
        QVERIFY(IniFile(folder.configPath()).readBool("form", "Saved", false));

        area->fire(TZvTrayIcon::LeftDown);
        QVERIFY(p.mainFm->isVisible());
        QTest::keyClick(p.tree(), Qt::Key_F12, Qt::ControlModifier);
        QTRY_VERIFY(!p.mainFm->isVisible());
        QCOMPARE(area->balloons().size(), 1); // within the hour
        area->fire(TZvTrayIcon::BalloonClicked);
        QVERIFY(p.mainFm->isVisible());

        p.mainFm->Timer_balloon->setInterval(20); // the hour passes
        p.mainFm->Timer_balloon->start();
        QTRY_VERIFY(!p.mainFm->Timer_balloon->isActive());
        p.mainFm->commonDm()->Action_UiClose->trigger();
        QTRY_VERIFY(!p.mainFm->isVisible());
        QCOMPARE(area->balloons().size(), 2);
        Q_UNUSED(f);
    }

    void addTaskFromTheIconStartsOneTask() {
        test::ProgramFolder folder;
        IniFile(folder.configPath()).writeBool("option", "addOpenEn", true);
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        QCOMPARE(f->model()->rowCount(), 0); // not at the first showing
        p.mainFm->commonDm()->Action_UiClose->trigger();
        QTRY_VERIFY(!p.mainFm->isVisible());
        p.mainFm->Action_AddTask->trigger();
        QVERIFY(p.mainFm->isVisible());
        QTRY_VERIFY(f->editingNode());
        test::Program::afterPosted(); // one row, not a second from another request
        QCOMPARE(f->model()->rowCount(), 1);
    }

    void runMinimizedShowsOnlyTheIcon_data() {
        QTest::addColumn<int>("daysSinceVisit");
        QTest::addColumn<bool>("shown");
        QTest::newRow("visited lately") << 10 << false;
        QTest::newRow("update prompt due") << 91 << true;
    }
    void runMinimizedShowsOnlyTheIcon() {
        QFETCH(int, daysSinceVisit);
        QFETCH(bool, shown);
        test::ProgramFolder folder;
        const IniFile ini(folder.configPath());
        ini.writeBool("option", "runMinimizedEn", true);
        ini.writeString("option", "visitWeb", FormatIsoDateTime(Clock::Now() - daysSinceVisit));
        test::WhenModal<QDialog> prompt([](QDialog* d) { d->reject(); });
        test::Program p(folder.path());
        p.show();
        test::Program::afterPosted(); // the posted minimise, if any
        QTRY_COMPARE(p.mainFm->isVisible(), shown);
        QVERIFY(p.mainFm->trayIcon()->isAdded());
        QCOMPARE(g_area->balloons().size(), shown ? 0 : 1);
        QVERIFY(ini.readBool("option", "runMinimizedEn", false)); // the file keeps it
        QCOMPARE(prompt.count, shown ? 1 : 0);
    }

    void stayOnTopKeepsPlaceAndSize() {
        test::ProgramFolder folder;
        // Re-making the window is no opening of it: no new task.
        IniFile(folder.configPath()).writeBool("option", "addOpenEn", true);
        test::Program p(folder.path());
        p.show();
        QVERIFY(!p.frame->editingNode());
        p.mainFm->setGeometry(120, 130, 400, 500);
        p.mainFm->commonDm()->Action_UiStayOnTop->trigger();
        QVERIFY(p.mainFm->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(p.mainFm->isVisible());
        QCOMPARE(p.mainFm->geometry(), QRect(120, 130, 400, 500));
        p.mainFm->commonDm()->Action_UiStayOnTop->trigger();
        QVERIFY(!(p.mainFm->windowFlags() & Qt::WindowStaysOnTopHint));
        QCOMPARE(p.mainFm->geometry(), QRect(120, 130, 400, 500));
        QVERIFY(g_area->balloons().isEmpty()); // never hidden to the icon
        test::Program::afterPosted();
        QVERIFY(!p.frame->editingNode());
    }

    void exitFromTheIconMenuEndsInOrder() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        p.show();
        p.mainFm->setGeometry(150, 160, 420, 480);
        QPointer<TzvTasksFrame> frame = p.frame;
        p.frame = nullptr;
        p.tester.reset();
        QSignalSpy exited(p.mainFm.get(), &TmainFm::exited);
        p.mainFm->Action_Exit->trigger();
        QTRY_VERIFY(frame.isNull());
        QCOMPARE(exited.count(), 1);
        QCOMPARE(IniFile(folder.configPath()).readInteger("form", "Left", 0), 150);
        QCOMPARE(g_area->balloons().size(), 0); // Exit's own close shows none
    }

    // A reminder pop-up leaves the icon's menu usable: its Exit ends the
    // program, and the reminder stays due as stored for the next start.
    void exitFromTheIconMenuWhileAReminderWaits() {
        test::ProgramFolder folder;
        TTaskInfo t = test::Task("{A}", "root", "due");
        t.alarmFlag = true;
        t.alarmTime = ToDateTime(QDateTime::currentDateTime().addDays(-1));
        test::Fill(folder.path(), {t});
        const test::StoredRow before = test::StoredRowOf(folder.path(), "{A}");
        test::Program p(folder.path());
        p.show();
        p.frame->Timer1->stop();
        QPointer<TzvTasksFrame> frame = p.frame;
        p.frame = nullptr;
        p.tester.reset();
        QSignalSpy exited(p.mainFm.get(), &TmainFm::exited);
        QMenu* menu = p.mainFm->findChild<QMenu*>("PopupMenu_Tray");
        test::WhenModal<TtaskReminderDlg> popup([&](TtaskReminderDlg*) {
            g_area->fire(TZvTrayIcon::RightDown);
            QVERIFY(menu->isVisible());
            QTest::mouseClick(menu, Qt::LeftButton, {},
                              menu->actionGeometry(p.mainFm->Action_Exit).center());
        });
        frame->Timer1Timer();
        QCOMPARE(popup.count, 1);
        QTRY_COMPARE(exited.count(), 1);
        QVERIFY(frame.isNull());
        const test::StoredRow after = test::StoredRowOf(folder.path(), "{A}");
        QVERIFY(after.alarmFlag);
        QCOMPARE(after.alarmTime, before.alarmTime);
    }

    // While the start asks for the password, the icon's Exit ends the
    // program as Cancel does.
    void exitFromTheIconWhileThePasswordIsAsked() {
        test::ProgramFolder folder(false);
        Database::createEmpty(folder.path() + "zvData.zvb", QStringLiteral("it's mine"));
        QString exit;
        test::WhenModal<QInputDialog> asked([&](QInputDialog* d) {
            g_area->fire(TZvTrayIcon::RightDown);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) {
                d->reject();
                return;
            }
            exit = menu->actions().value(0)->text();
            QTest::mouseClick(menu, Qt::LeftButton, {},
                              menu->actionGeometry(menu->actions().value(0)).center());
        });
        test::Program p(folder.path());
        QCOMPARE(asked.count, 1);
        QCOMPARE(exit, QStringLiteral("E&xit"));
        QVERIFY(p.mainFm->refused() && !p.mainFm->db().isOpen());
    }

    // Without a notification area: minimised to the task bar, and File has Exit.
    void withoutANotificationArea() {
        UseFakeArea(false);
        test::ProgramFolder folder;
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        QVERIFY(!p.mainFm->hasNotifyArea());
        QVERIFY(g_area->calls.isEmpty());
        QCOMPARE(f->mainMenu()->actions().first()->menu()->actions().last(), p.mainFm->Action_Exit);
        QCloseEvent byUser;
        QCoreApplication::sendEvent(p.mainFm->windowHandle(), &byUser);
        QVERIFY(p.mainFm->isMinimized());
        QVERIFY(!p.mainFm->exiting());
        QVERIFY(m_boxes.shown.isEmpty());

        // Exit by key through the real File menu: the menu belongs to the
        // frame that Exit deletes, so it must still be alive while it handles the key.
        p.mainFm->showNormal();
        p.mainFm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p.mainFm.get()));
        QSignalSpy exited(p.mainFm.get(), &TmainFm::exited);
        QPointer<TzvTasksFrame> frame = f;
        p.frame = nullptr;
        p.tester.reset();
        QTest::keyClick(p.mainFm.get(), Qt::Key_F, Qt::AltModifier);
        QMenu* file = nullptr;
        QTRY_VERIFY((file = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
        bool pressing = false, deletedWhilePressing = false;
        connect(file, &QObject::destroyed, [&] { deletedWhilePressing = pressing; });
        pressing = true;
        QTest::keyClick(file, Qt::Key_X);
        pressing = false;
        QTRY_COMPARE(exited.count(), 1);
        QVERIFY(frame.isNull());
        QVERIFY(!deletedWhilePressing);
        UseFakeArea();
    }

    // A panel that starts after the program, then goes while the window is
    // hidden in it: the icon, Exit and closing follow it.
    void notificationAreaThatComesAndGoes() {
        UseFakeArea(false);
        test::ProgramFolder folder;
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        p.mainFm->Timer_notifyArea->setInterval(10);
        QMenu* file = f->mainMenu()->actions().first()->menu();
        QCOMPARE(file->actions().last(), p.mainFm->Action_Exit);

        g_area->available = true;
        QTRY_VERIFY(p.mainFm->hasNotifyArea());
        QCOMPARE(g_area->count(TZvNotifyArea::Add), 1);
        QCOMPARE(file->actions().last(), p.mainFm->Action_Exit);
        QCloseEvent byUser;
        QCoreApplication::sendEvent(p.mainFm->windowHandle(), &byUser);
        QTRY_VERIFY(!p.mainFm->isVisible()); // hidden to the icon

        g_area->available = false;
        QTRY_VERIFY(!p.mainFm->hasNotifyArea());
        QVERIFY(p.mainFm->isVisible()); // not left where no one can reach it
        QCOMPARE(file->actions().last(), p.mainFm->Action_Exit);
        QCOMPARE(g_area->count(TZvNotifyArea::Delete), 1);
        QVERIFY(m_boxes.shown.isEmpty());
        UseFakeArea();
    }

    // The desktop's own area: two middle clicks within the double-click
    // time are one double-click; the hint's lines are lines, its text text.
    void desktopAreaAsItBehaves() {
        SetNotifyAreaFactory({});
        QObject owner;
        TZvNotifyArea* area = MakeNotifyArea(&owner);
        UseFakeArea();
        auto* icon = area->findChild<QSystemTrayIcon*>();
        QVERIFY(icon);
        QList<int> codes;
        connect(area, &TZvNotifyArea::callback, [&](int code) { codes << code; });
        for (int i = 0; i < 3; ++i)
            emit icon->activated(QSystemTrayIcon::MiddleClick);
        QCOMPARE(codes, QList<int>({TZvTrayIcon::MiddleDown, TZvTrayIcon::MiddleDouble,
                                    TZvTrayIcon::MiddleDown}));

        QCOMPARE(NotifyAreaToolTip("Incomplete Tasks:\r(1) a\r(2) b"),
                 QStringLiteral("Incomplete Tasks:\n(1) a\n(2) b"));
        const QString html = NotifyAreaToolTip("Incomplete Tasks:\r(1) <b>x</b> & y");
        QTextDocument shown;
        shown.setHtml(html);
        QCOMPARE(shown.toPlainText(), QStringLiteral("Incomplete Tasks:\n(1) <b>x</b> & y"));
    }
};

QTEST_MAIN(TestTray)
#include "test_tray.moc"
