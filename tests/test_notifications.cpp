// Reminders through a real notification server (dunst, started by
// notify_session.sh on a bus of its own), its buttons pressed through its
// own menu.
#include "FrameHarness.h"
#include "dialogs/TOptionsDlg.h"
#include "tasks/TaskDialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QUndoStack>
#include <csignal>

namespace {

const QDateTime kNow(QDate(2026, 3, 2), QTime(10, 0));
const TDateTime kFiveMinutes = 5.0 / 1440;

TTaskInfo due(const char* tid, const char* text, bool overdue = false) {
    TTaskInfo t = test::Task(tid, "root", text);
    t.alarmFlag = true;
    t.alarmTime = ToDateTime(kNow) - 1.0 / 1440;
    t.dueFlag = overdue;
    t.dueTime = ToDateTime(kNow) - 1;
    return t;
}

int shownByServer() {
    QProcess p;
    p.start(QStringLiteral("dunstctl"), {QStringLiteral("count"), QStringLiteral("displayed")});
    p.waitForFinished();
    return p.readAllStandardOutput().trimmed().toInt();
}

// Presses the button key of notification id, as the user would in the
// server's menu.
void press(quint32 id, const QString& key) {
    QVERIFY(test::WriteFile(qEnvironmentVariable("NOTIFY_WANT_FILE"),
                            QStringLiteral("[%1,%2]").arg(id).arg(key).toUtf8()));
    QCOMPARE(QProcess::execute(QStringLiteral("dunstctl"), {QStringLiteral("context")}), 0);
}

} // namespace

class TestNotifications : public QObject {
    Q_OBJECT
    std::unique_ptr<test::ProgramFolder> m_folder;
    std::unique_ptr<test::Program> m_p;
    TzvTasksFrame* f = nullptr;

    void open(const QList<TTaskInfo>& tasks) {
        m_folder = std::make_unique<test::ProgramFolder>();
        test::Fill(m_folder->path(), tasks);
        m_p = std::make_unique<test::Program>(m_folder->path());
        f = m_p->show();
        f->Timer1->stop(); // the tests tick by hand
    }
    test::StoredRow stored(const char* tid) const {
        return test::StoredRowOf(m_folder->path(), tid);
    }

private slots:
    void initTestCase() {
        test::FixGuiEnvironment();
        if (qEnvironmentVariableIsEmpty("NOTIFY_WANT_FILE"))
            QSKIP("needs notify_session.sh");
    }
    void init() {
        Clock::SetForTesting([] { return kNow; });
    }
    void cleanup() {
        m_p.reset();
        m_folder.reset();
        Clock::SetForTesting({});
    }

    void eachAnswerWritesWhatThePopupWould_data() {
        QTest::addColumn<QString>("key");
        QTest::addRow("snooze") << "snooze";
        QTest::addRow("dismiss") << "dismiss";
        QTest::addRow("complete") << "complete";
        QTest::addRow("a click opens the window at the task") << "default";
    }
    void eachAnswerWritesWhatThePopupWould() {
        QFETCH(QString, key);
        open({test::Task("{A}", "root", "first"), due("{B}", "Pay rent & <b>tax</b>", true)});
        m_p->mainFm->hide();
        f->Timer1Timer();
        ReminderNotices* notices = f->reminderNotices();
        QVERIFY(notices);
        QVERIFY(!TzvTasksFrame::ReminderPopup());
        QTRY_COMPARE(shownByServer(), 1);
        const DesktopNote& note = notices->shownNote();
        QCOMPARE(note.summary, "Pay rent & <b>tax</b>"); // plain text, as typed
        QVERIFY(note.body.startsWith("Due date: "));
        QVERIFY(note.critical); // overdue
        const quint32 id = notices->shownId();
        press(id, key);
        QTRY_VERIFY(notices->shownTids().isEmpty());
        QTRY_COMPARE(shownByServer(), 0); // withdrawn once answered
        const test::StoredRow row = stored("{B}");
        QUndoStack* undo = f->undoStack();
        if (key == "default") {
            QTRY_VERIFY(m_p->mainFm->isVisible());
            QCOMPARE(f->tree()->currentIndex().data().toString(), "Pay rent & <b>tax</b>");
            QVERIFY(row.alarmFlag && !row.checked);
            QCOMPARE(undo->count(), 0);
            // Still due, it comes back after the snooze period, not before.
            f->Timer1Timer();
            QVERIFY(notices->shownTids().isEmpty());
            Clock::SetForTesting([] { return kNow.addSecs(301); });
            f->Timer1Timer();
            QCOMPARE(notices->shownTids(), QStringList{"{B}"});
            return;
        }
        QCOMPARE(row.checked, key == "complete");
        QCOMPARE(row.alarmFlag, key != "dismiss");
        if (key == "snooze")
            QCOMPARE(row.alarmTime, ToDateTime(kNow) + kFiveMinutes);
        QCOMPARE(undo->count(), 1);
        f->Action_Undo->trigger(); // Ctrl+Z
        const test::StoredRow back = stored("{B}");
        QVERIFY(back.alarmFlag && !back.checked);
        QCOMPARE(back.alarmTime, due("{B}", "").alarmTime);
    }

    void aBurstIsOneNotificationAnsweredForAll() {
        open({due("{A}", "one"), due("{B}", "two"), due("{C}", "three")});
        f->Timer1Timer();
        ReminderNotices* notices = f->reminderNotices();
        QCOMPARE(notices->shownNote().summary, "3 reminders due");
        QCOMPARE(notices->shownNote().body, "one\nthree\ntwo");
        QVERIFY(!notices->shownNote().critical);
        QTRY_COMPARE(shownByServer(), 1);
        press(notices->shownId(), "dismiss");
        QTRY_COMPARE(f->undoStack()->count(), 1);
        QCOMPARE(f->Action_Undo->text(), "&Undo Dismiss All");
        for (const char* tid : {"{A}", "{B}", "{C}"})
            QVERIFY(!stored(tid).alarmFlag);
    }

    void closedUnansweredTheReminderStaysAndComesBack() {
        open({due("{A}", "water the plants")});
        f->Timer1Timer();
        ReminderNotices* notices = f->reminderNotices();
        QTRY_COMPARE(shownByServer(), 1);
        QCOMPARE(QProcess::execute(QStringLiteral("dunstctl"), {QStringLiteral("close")}), 0);
        QTRY_VERIFY(notices->shownTids().isEmpty());
        QVERIFY(stored("{A}").alarmFlag);
        Clock::SetForTesting([] { return kNow.addSecs(299); });
        f->Timer1Timer();
        QVERIFY(notices->shownTids().isEmpty());
        QVERIFY(!TzvTasksFrame::ReminderPopup()); // nor as the pop-up meanwhile
        Clock::SetForTesting([] { return kNow.addSecs(301); });
        f->Timer1Timer();
        QCOMPARE(notices->shownTids(), QStringList{"{A}"});
        QTRY_COMPARE(shownByServer(), 1);
        m_p.reset(); // Exit takes it back
        QTRY_COMPARE(shownByServer(), 0);
    }

    // Last: the server is stopped.
    void withTheOptionOffOrTheServerGoneThePopupOpens() {
        open({due("{A}", "call the bank")});
        AppContext& context = m_p->mainFm->context();
        {
            TOptionsDlg options(nullptr, context.options, IniFile(context.configPath),
                                AutoStart(m_folder->path() + "/autostart", "tasquel"), nullptr,
                                false, context.notifications);
            QVERIFY(options.cb_DesktopNotify->isEnabled() && options.cb_DesktopNotify->isChecked());
            QVERIFY(!options.lbl_NoDesktopNotify->isVisibleTo(&options));
            options.cb_DesktopNotify->click();
            options.Btn_Ok->click();
        }
        QVERIFY(!context.options.desktopNotifyEn);
        QCOMPARE(IniFile(context.configPath).readString("option", "desktopNotifyEn", "x"), "0");
        int popups = 0;
        test::WhenModal<TtaskReminderDlg> answer([&](TtaskReminderDlg* d) {
            ++popups;
            d->btn_snooze->click();
        });
        f->Timer1Timer();
        QCOMPARE(popups, 1);
        QCOMPARE(shownByServer(), 0);

        m_p->mainFm->context().options.desktopNotifyEn = true;
        Clock::SetForTesting([] { return kNow.addSecs(600); });
        f->Timer1Timer();
        QTRY_COMPARE(shownByServer(), 1);
        ::kill(qEnvironmentVariableIntValue("NOTIFY_SERVER_PID"), SIGTERM);
        QTRY_VERIFY(!f->reminderNotices()->usable());
        // What it showed waits its period; a reminder due after that pops up.
        Clock::SetForTesting([] { return kNow.addSecs(600 + 301); });
        f->Timer1Timer();
        QCOMPARE(popups, 2);
    }
};

QTEST_MAIN(TestNotifications)
#include "test_notifications.moc"
