#include "FrameHarness.h"
#include "gui/ColorValues.h"
#include "tasks/TaskDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace {

const QDateTime kNow(QDate(2026, 3, 2), QTime(10, 0)); // a Monday

TDateTime at(int day, int hour, int minute = 0) {
    return ToDateTime(QDate(2026, 3, day), QTime(hour, minute));
}

TTaskInfo withAlarm(const char* tid, const char* pid, const char* text, TDateTime when,
                    bool done = false) {
    TTaskInfo t = test::Task(tid, pid, text, done);
    t.alarmFlag = true;
    t.alarmTime = when;
    return t;
}

} // namespace

class TestReminders : public QObject {
    Q_OBJECT
    std::unique_ptr<test::ProgramFolder> m_folder;
    std::unique_ptr<test::Program> m_p;

    TzvTasksFrame* open(const QList<TTaskInfo>& tasks) {
        m_folder = std::make_unique<test::ProgramFolder>();
        test::Fill(m_folder->path(), tasks);
        m_p = std::make_unique<test::Program>(m_folder->path());
        TzvTasksFrame* f = m_p->show();
        f->Timer1->stop(); // the tests tick by hand
        f->tree()->expandAll();
        return f;
    }
    void select(std::initializer_list<QModelIndex> rows) { m_p->select(rows); }

private slots:
    void initTestCase() { test::FixGuiEnvironment(); }
    void init() {
        Clock::SetForTesting([] { return kNow; });
    }
    void cleanup() {
        m_p.reset();
        m_folder.reset();
        Clock::SetForTesting({});
    }

    void reminderDialogOffersTomorrowForANewReminder() {
        TReminderSetDlg dlg(nullptr, false, 0);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Set Reminder"));
        QVERIFY(!dlg.cb_reminder->isChecked());
        QCOMPARE(dlg.edt_date->date(), QDate(2026, 3, 3));
        QCOMPARE(dlg.edt_time->time(), QTime(10, 0));
        QVERIFY(!dlg.warningShown());
        dlg.cb_reminder->click();
        dlg.btn_ok->click();
        QVERIFY(dlg.alarmFlag);
        QCOMPARE(dlg.alarmTime, at(3, 10));
    }

    void reminderWarningForAPastMomentNeverBlocks() {
        TReminderSetDlg dlg(nullptr, true, at(2, 10)); // exactly now: not later
        QVERIFY(dlg.warningShown());
        dlg.edt_time->setTime(QTime(10, 0, 1));
        QVERIFY(!dlg.warningShown());
        dlg.edt_date->setDate(QDate(2026, 3, 1));
        QVERIFY(dlg.warningShown());
        dlg.cb_reminder->click(); // unticking leaves the warning
        QVERIFY(dlg.warningShown());
        QVERIFY(!dlg.cb_reminder->isChecked());
        dlg.edt_time->setTime(QTime(9, 0)); // any change ticks the box
        QVERIFY(dlg.cb_reminder->isChecked());
        dlg.btn_ok->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.alarmTime, at(1, 9));
    }

    void setReminderWritesEverySelectedTask() {
        TzvTasksFrame* f = open({withAlarm("{A}", "root", "a", at(5, 8)),
                                 test::Task("{B}", "root", "b"), test::Task("{C}", "root", "c")});
        select({m_p->row(0), m_p->row(1)});
        {
            test::WhenModal<TReminderSetDlg> answer([](TReminderSetDlg* dlg) {
                QVERIFY(dlg->cb_reminder->isChecked()); // the first task's values
                QCOMPARE(dlg->edt_date->date(), QDate(2026, 3, 5));
                QCOMPARE(dlg->edt_time->time(), QTime(8, 0));
                dlg->edt_time->setTime(QTime(9, 30));
                dlg->btn_ok->click();
            });
            f->Action_TaskReminderSet->trigger();
        }
        for (const char* tid : {"{A}", "{B}"}) {
            const test::StoredRow s = test::StoredRowOf(m_folder->path(), tid);
            QVERIFY(s.alarmFlag);
            QCOMPARE(s.alarmTime, at(5, 9, 30));
        }
        QVERIFY(!test::StoredRowOf(m_folder->path(), "{C}").alarmFlag);
        QVERIFY(f->SelectedNodes().empty());
        QCOMPARE(f->model()->topLevel()[1]->info.alarmTime, at(5, 9, 30));
    }

    void cancelChangesNothingAndKeepsTheSelection() {
        TzvTasksFrame* f = open({test::Task("{A}", "root", "a")});
        select({m_p->row(0)});
        {
            test::WhenModal<TReminderSetDlg> answer([](TReminderSetDlg* dlg) {
                dlg->cb_reminder->click();
                dlg->Button2->click();
            });
            f->Action_TaskReminderSet->trigger();
        }
        QVERIFY(!test::StoredRowOf(m_folder->path(), "{A}").alarmFlag);
        QCOMPARE(f->SelectedNodes().size(), size_t(1));
    }

    void dueDateKeepsItsTimeOfDay() {
        TTaskInfo t = test::Task("{A}", "root", "a");
        t.dueFlag = true;
        t.dueTime = at(4, 17, 45);
        TzvTasksFrame* f = open({t});
        select({m_p->row(0)});
        {
            test::WhenModal<TDueSetDlg> answer([](TDueSetDlg* dlg) {
                QVERIFY(dlg->cb_due->isChecked());
                QCOMPARE(dlg->edt_due->date(), QDate(2026, 3, 4));
                dlg->edt_due->setDate(QDate(2026, 3, 20));
                dlg->Btn_Ok->click();
            });
            f->Action_TaskDueSet->trigger();
        }
        const test::StoredRow s = test::StoredRowOf(m_folder->path(), "{A}");
        QVERIFY(s.dueFlag);
        QCOMPARE(s.dueTime, at(20, 17, 45));

        TDueSetDlg fresh(nullptr, false, 0);
        QVERIFY(!fresh.cb_due->isChecked());
        fresh.edt_due->setDate(QDate(2026, 3, 9)); // a change ticks the box
        fresh.Btn_Ok->click();
        QVERIFY(fresh.dueFlag);
        QCOMPARE(fresh.dueTime, at(9, 10)); // the moment the dialog opened
    }

    void snoozeIntervals_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QDateTime>("expected");
        QTest::newRow("5 Minutes") << 0 << QDateTime(QDate(2026, 3, 2), QTime(10, 5));
        QTest::newRow("8 Hours") << 12 << QDateTime(QDate(2026, 3, 2), QTime(18, 0));
        QTest::newRow("1 Week") << 19 << QDateTime(QDate(2026, 3, 9), QTime(10, 0));
        QTest::newRow("3 Weeks") << 21 << QDateTime(QDate(2026, 3, 23), QTime(10, 0));
        QTest::newRow("outside the list") << 22 << QDateTime(QDate(2026, 3, 3), QTime(10, 0));
    }
    void snoozeIntervals() {
        QFETCH(int, position);
        QFETCH(QDateTime, expected);
        QCOMPARE(TtaskReminderDlg::SnoozeItems().size(), 22);
        QCOMPARE(FromDateTime(TtaskReminderDlg::SnoozeTime(position, ToDateTime(kNow))), expected);
    }

    void dueRemindersComeOneAtATime() {
        TzvTasksFrame* f = open({test::Task("{P}", "root", "parent"),
                                 withAlarm("{S}", "{P}", "sub-task due", at(2, 9)),
                                 withAlarm("{D}", "root", "done long ago", at(1, 9), true),
                                 withAlarm("{L}", "root", "later", at(2, 11)),
                                 withAlarm("{E}", "root", "also due", at(2, 10))});
        QStringList shown;
        int nested = 0;
        bool snooze = true;
        test::WhenModal<TtaskReminderDlg> answer([&](TtaskReminderDlg* dlg) {
            shown << dlg->Memo1->toPlainText();
            // Ticks inside the pop-up's own loop open nothing more.
            f->Timer1Timer();
            const auto all = f->findChildren<TtaskReminderDlg*>();
            nested += int(all.size()) - 1;
            QCOMPARE(TzvTasksFrame::ReminderPopup(), dlg);
            if (snooze) {
                dlg->comb_Snooze->setCurrentIndex(19);
                dlg->btn_snooze->click();
            } else {
                dlg->btn_dismiss->click();
            }
        });
        f->Timer1Timer();
        snooze = false;
        f->Timer1Timer();
        // Tree order, sorted at start: "also due" comes before the sub-task.
        QCOMPARE(shown, QStringList({"also due", "sub-task due"}));
        QCOMPARE(nested, 0); // never a second pop-up
        QCOMPARE(TzvTasksFrame::ReminderPopup(), nullptr);

        test::StoredRow s = test::StoredRowOf(m_folder->path(), "{E}");
        QVERIFY(s.alarmFlag);
        QCOMPARE(FromDateTime(s.alarmTime), QDateTime(QDate(2026, 3, 9), QTime(10, 0)));
        s = test::StoredRowOf(m_folder->path(), "{S}");
        QVERIFY(!s.alarmFlag);
        QCOMPARE(s.alarmTime, 0.0);
        f->Timer1Timer(); // nothing left due: no pop-up
        QCOMPARE(shown.size(), 2);

        // A completed task is raised once it is open again.
        f->model()->setChecked(f->model()->topLevel()[1].get(), false);
        f->Timer1Timer();
        QCOMPARE(shown.last(), QStringLiteral("done long ago"));
    }

    // Several due at once: the pop-up counts the others and answers them
    // all in one step; the sound comes with the first pop-up of a burst.
    void aBurstIsAnsweredAtOnce_data() {
        QTest::addColumn<bool>("dismiss");
        QTest::newRow("dismiss all") << true;
        QTest::newRow("snooze all") << false;
    }
    void aBurstIsAnsweredAtOnce() {
        QFETCH(bool, dismiss);
        TzvTasksFrame* f =
            open({withAlarm("{A}", "root", "a", at(2, 9)), withAlarm("{B}", "root", "b", at(1, 9)),
                  withAlarm("{L}", "root", "later", at(2, 11)),
                  withAlarm("{C}", "{A}", "c", at(2, 10))});
        QStringList seen;
        QList<bool> silent;
        bool answerAll = false;
        test::WhenModal<TtaskReminderDlg> answer([&](TtaskReminderDlg* d) {
            seen << (d->lbl_waiting->isVisibleTo(d) ? d->lbl_waiting->text() : QString());
            silent << d->silent();
            if (!answerAll)
                d->btn_snooze->click();
            else
                (dismiss ? d->btn_dismissAll : d->btn_snoozeAll)->click();
        });
        f->Timer1Timer(); // a: snoozed alone, two more were waiting
        answerAll = true;
        f->Timer1Timer(); // the rest of the burst, all at once
        f->Timer1Timer(); // nothing left due
        QCOMPARE(seen, QStringList({"and 2 more", "and 1 more"}));
        QCOMPARE(silent, QList<bool>({false, true}));
        for (const char* tid : {"{B}", "{C}"}) {
            const test::StoredRow r = test::StoredRowOf(m_folder->path(), tid);
            QCOMPARE(r.alarmFlag, !dismiss);
            QCOMPARE(r.alarmTime, dismiss ? 0.0 : at(2, 10, 5));
        }
        QCOMPARE(test::StoredRowOf(m_folder->path(), "{L}").alarmTime, at(2, 11));
        QCOMPARE(f->Action_Undo->text(), dismiss ? "&Undo Dismiss All" : "&Undo Snooze All");
        f->Action_Undo->trigger();
        QCOMPARE(test::StoredRowOf(m_folder->path(), "{B}").alarmTime, at(1, 9));
        QCOMPARE(test::StoredRowOf(m_folder->path(), "{C}").alarmTime, at(2, 10));
    }

    void hiddenTasksStillRaiseTheirReminder() {
        TzvTasksFrame* f = open({withAlarm("{A}", "root", "hidden but due", at(2, 9)),
                                 test::Task("{B}", "root", "shown", true)});
        f->Menu_Complete->trigger();
        QCOMPARE(f->model()->rowCount(), 1);
        QString text;
        {
            test::WhenModal<TtaskReminderDlg> answer([&](TtaskReminderDlg* dlg) {
                text = dlg->Memo1->toPlainText();
                dlg->btn_dismiss->click();
            });
            f->Timer1Timer();
        }
        QCOMPARE(text, QStringLiteral("hidden but due"));
    }

    void closingThePopUpOtherwiseLeavesItDue() {
        TzvTasksFrame* f = open({withAlarm("{A}", "root", "a", at(2, 9))});
        {
            test::WhenModal<TtaskReminderDlg> answer([](TtaskReminderDlg* dlg) { dlg->reject(); });
            f->Timer1Timer();
        }
        const test::StoredRow s = test::StoredRowOf(m_folder->path(), "{A}");
        QVERIFY(s.alarmFlag);
        QCOMPARE(s.alarmTime, 0.0);
    }

    void colourDialogRules() {
        TColorSetDlg plain(nullptr, 0, 0);
        QVERIFY(plain.cb_text->isChecked() && plain.cb_bg->isChecked());
        QVERIFY(!plain.cbox_text->isEnabled() && !plain.cbox_bg->isEnabled());
        QCOMPARE(plain.cbox_bg->currentText(), QStringLiteral("White"));
        QCOMPARE(plain.Memo1->toPlainText(), QStringLiteral("  Zarvik Software"));

        // Black as background stores 0; a system colour a negative value.
        plain.cb_text->click();
        plain.cbox_text->setCurrentIndex(plain.cbox_text->findText("Highlight"));
        plain.cb_bg->click();
        plain.cbox_bg->setCurrentIndex(plain.cbox_bg->findText("Black"));
        plain.btn_Ok->click();
        QVERIFY(plain.textColor < 0);
        QCOMPARE(plain.backgroundColor, 0);

        TColorSetDlg again(nullptr, plain.textColor, ColorValues::FromRgb(QColor(0, 128, 128)));
        QCOMPARE(again.cbox_text->currentText(), QStringLiteral("Highlight"));
        QCOMPARE(again.cbox_bg->currentText(), QStringLiteral("Teal"));
        QVERIFY(!again.cb_text->isChecked() && again.cbox_text->isEnabled());
        QCOMPARE(again.Memo1->palette().color(QPalette::Base), QColor(0, 128, 128));
    }

    void setColorWritesAllAndDefaultResets() {
        TzvTasksFrame* f = open({test::Task("{A}", "root", "a"), test::Task("{B}", "root", "b")});
        select({m_p->row(0), m_p->row(1)});
        {
            test::WhenModal<TColorSetDlg> answer([](TColorSetDlg* dlg) {
                dlg->cb_text->click();
                dlg->cbox_text->setCurrentIndex(dlg->cbox_text->findText("Red"));
                dlg->btn_Ok->click();
            });
            f->Action_SetColor->trigger();
        }
        QCOMPARE(test::StoredRowOf(m_folder->path(), "{B}").textColor, 0x0000FF);
        QCOMPARE(f->SelectedNodes().size(), size_t(2)); // they stay selected
        {
            test::WhenModal<TColorSetDlg> answer([](TColorSetDlg* dlg) {
                QCOMPARE(dlg->cbox_text->currentText(), QStringLiteral("Red"));
                dlg->btn_Default->click();
            });
            f->Action_SetColor->trigger();
        }
        QCOMPARE(test::StoredRowOf(m_folder->path(), "{A}").textColor, 0);
        QCOMPARE(test::StoredRowOf(m_folder->path(), "{B}").backgroundColor, 0);
    }
};

QTEST_MAIN(TestReminders)
#include "test_reminders.moc"
