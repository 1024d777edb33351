#include "FrameHarness.h"
#include "dialogs/TOptionsDlg.h"

#include <QCheckBox>
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
};

QTEST_MAIN(TestOptions)
#include "test_options.moc"
