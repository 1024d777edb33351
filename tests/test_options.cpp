#include "FrameHarness.h"
#include "dialogs/SecurityPage.h"
#include "dialogs/TOptionsDlg.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::FixEnvironment(); }

    void dialogShowsCurrentState() {
        QTemporaryDir dir;
        AppOptions o;
        o.runMinimizedEn = true;
        const AutoStart autostart(dir.filePath("autostart"), "/usr/bin/tasquel");
        autostart.setAutoStart(true);
        TOptionsDlg dlg(nullptr, o, IniFile(dir.filePath("zvConf.ini")), autostart);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Options"));
        QCOMPARE(dlg.cb_AutoStart->text(), QStringLiteral("Start at &log-in"));
        QCOMPARE(dlg.cb_AutoMinimized->text(), QStringLiteral("Run program &minimized"));
        QCOMPARE(dlg.cb_AddOpen->text(), QStringLiteral("&Add new item while open"));
        QVERIFY(dlg.cb_AutoStart->isChecked());
        QVERIFY(dlg.cb_AutoMinimized->isChecked());
        QVERIFY(!dlg.cb_AddOpen->isChecked());
    }

    void okWritesFieldsFileAndAutostart() {
        QTemporaryDir dir;
        AppOptions o;
        const IniFile ini(dir.filePath("zvConf.ini"));
        const AutoStart autostart(dir.filePath("autostart"), "/usr/bin/tasquel");
        TOptionsDlg dlg(nullptr, o, ini, autostart);
        dlg.cb_AutoStart->setChecked(true);
        dlg.cb_AddOpen->setChecked(true);
        QTest::mouseClick(dlg.Btn_Ok, Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(o.addOpenEn && !o.runMinimizedEn);
        QCOMPARE(ini.readString("option", "addOpenEn", "x"), QStringLiteral("1"));
        QCOMPARE(ini.readString("option", "runMinimizedEn", "x"), QStringLiteral("0"));
        QVERIFY(autostart.isAutoStart());
        // Without a notification server the box says why and keeps the choice.
        QVERIFY(!dlg.cb_DesktopNotify->isEnabled() && !dlg.cb_DesktopNotify->isChecked());
        QVERIFY(dlg.lbl_NoDesktopNotify->text().startsWith("No notification server is running"));
        QVERIFY(o.desktopNotifyEn);
        QCOMPARE(ini.readString("option", "desktopNotifyEn", "x"), QStringLiteral("x"));

        TOptionsDlg off(nullptr, o, ini, autostart);
        off.cb_AutoStart->setChecked(false);
        QTest::mouseClick(off.Btn_Ok, Qt::LeftButton);
        QVERIFY(!autostart.isAutoStart());
    }

    void cancelChangesNothing() {
        QTemporaryDir dir;
        AppOptions o;
        const IniFile ini(dir.filePath("zvConf.ini"));
        const AutoStart autostart(dir.filePath("autostart"), "/usr/bin/tasquel");
        TOptionsDlg dlg(nullptr, o, ini, autostart);
        dlg.cb_AutoStart->setChecked(true);
        dlg.cb_AutoMinimized->setChecked(true);
        dlg.cb_AddOpen->setChecked(true);
        QTest::mouseClick(dlg.Btn_Cancel, Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(!o.addOpenEn && !o.runMinimizedEn);
        QVERIFY(!QFile::exists(ini.path()));
        QVERIFY(!autostart.isAutoStart());
    }

    void optionsCommandOpensTheDialog() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        p.show();
        QVERIFY(p.mainFm->menuBar()->actions().size() == 5);
        test::WhenModal<TOptionsDlg> answer([](TOptionsDlg* dlg) {
            dlg->cb_AutoMinimized->setChecked(true);
            dlg->Btn_Cancel->click();
        });
        p.common->Action_Options->trigger();
        QCOMPARE(answer.count, 1);
        QVERIFY(!p.mainFm->options().runMinimizedEn);
    }

    // Security: a password set (typed twice) encrypts the database with it,
    // and no byte of the database or its journal holds a task's text; taken
    // away, the built-in key opens it again; edits go on in between.
    void passwordIsSetAndTakenAway() {
        test::ProgramFolder folder;
        test::Fill(folder.path(), {test::Task("{A}", "root", "it's the secret apple")});
        test::Program p(folder.path());
        p.show();
        const auto opens = [&](const QString& password) {
            Database db;
            try {
                db.open(folder.path(), password);
                return true;
            } catch (const WrongPassword&) {
                return false;
            }
        };
        test::WhenModal<TPasswordDlg> typed([](TPasswordDlg* d) {
            d->edt_New->setText("s3cret");
            d->edt_Again->setText("s3cret");
            d->Btn_Ok->click();
        });
        // Each time: the box as it stands, then clicked, then OK.
        const auto clickProtect = [&p] {
            bool was = false;
            test::WhenModal<TOptionsDlg> options([&was](TOptionsDlg* d) {
                was = d->page_Security->cb_Protect->isChecked();
                d->page_Security->cb_Protect->click();
                d->Btn_Ok->click();
            });
            p.common->Action_Options->trigger();
            return was;
        };
        QVERIFY(!clickProtect());
        QCOMPARE(typed.count, 1);
        QCOMPARE(p.mainFm->context().password, QStringLiteral("s3cret"));
        QVERIFY(opens("s3cret") && !opens(Database::defaultPassword()));
        p.tree()->setCurrentIndex(p.row(0));
        p.frame->Action_TaskComplete->trigger();
        QDirIterator every(folder.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        int files = 0;
        for (; every.hasNext(); ++files)
            QVERIFY2(!test::ReadFile(every.next()).contains("secret apple"),
                     qPrintable(every.filePath()));
        QVERIFY(files > 3); // the database, its journal, settings, pictures

        QVERIFY(clickProtect());
        QCOMPARE(typed.count, 1);
        QVERIFY(p.mainFm->context().password.isEmpty());
        QVERIFY(opens(Database::defaultPassword()));
        QCOMPARE(test::StoredRows(folder.path(), {}).front().checked, true);
    }
};

QTEST_MAIN(TestOptions)
#include "test_options.moc"
