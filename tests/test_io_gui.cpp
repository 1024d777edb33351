#include "FrameHarness.h"
#include "components/ZvFormState.h"
#include "components/ZvStatusBar.h"
#include "dialogs/Dlg_ReplaceAsk.h"
#include "platform/IniFile.h"
#include "platform/ZvVersionInfo.h"

#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

class TestIoGui : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { test::FixGuiEnvironment(); }
    void cleanup() { SetFilePromptHandler({}); }

    void versionIsCompiledIn() {
        TZvVersionInfo v;
        QCOMPARE(v.GetVersionValue(TZvVersionInfo::FileVersion), QStringLiteral("1.7.5.30"));
        QCOMPARE(v.GetVersionValue(TZvVersionInfo::ProductName),
                 QStringLiteral("Zarvik Tasquel Lite"));
        QCOMPARE(v.GetVersionValue(10), QString());
    }

    void backupThenRestoreIntoAnEmptyDatabase() {
        const QString file = m_dir.filePath("backup.zvx");
        QStringList filters;
        SetFilePromptHandler([&](bool save, const QString& filter) {
            filters << QStringLiteral("%1 %2").arg(save ? "save" : "open", filter);
            return file;
        });
        test::ProgramFolder source;
        {
            Database db;
            db.open(source.path());
            test::InsertTask(db, test::Task("{A}", "root", "apple", false, true));
            test::InsertTask(db, test::Task("{A1}", "{A}", "seed"));
        }
        {
            test::Program p(source.path());
            p.show();
            p.mainFm->Action_DbBackup->trigger();
            QVERIFY(p.boxes.shown.isEmpty());
            QCOMPARE(p.frame->ZvStatusBar1->panelText(), "Backed up: 2 tasks to " + file);
        }
        test::ProgramFolder target;
        test::Program p(target.path());
        TzvTasksFrame* f = p.show();
        QCOMPARE(f->model()->rowCount(), 0);
        p.mainFm->Action_DbRestore->trigger();
        QTRY_COMPARE(f->model()->totalCount(), 2); // reloaded by the posted message
        QCOMPARE(filters,
                 QStringList({"save Zarvik Database,  (*.zvx)", "open Zarvik Database, (*.zvx)"}));

        // A second restore asks: the stored row is what Yes replaces, the
        // file's record what it writes.
        {
            Database db;
            db.open(target.path());
            db.exec("update tasks set content='apple, edited later' where content='apple'");
        }
        QString caption, storedTitle, fileTitle;
        test::WhenModal<TReplaceAskDlg> answer([&](TReplaceAskDlg* dlg) {
            caption = dlg->Label_Caption->text();
            storedTitle = dlg->Label_oldTitle->text();
            fileTitle = dlg->Label_newTitle->text();
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Confirm Replace"));
            QCOMPARE(dlg->size(), QSize(463, 250));
            dlg->Button4->click(); // All
        });
        p.mainFm->Action_DbRestore->trigger();
        QCOMPARE(caption, QStringLiteral("Would you like to replace the existing task"));
        QCOMPARE(storedTitle, QStringLiteral("apple, edited later"));
        QCOMPARE(fileTitle, QStringLiteral("apple"));
        QVERIFY(p.boxes.shown.isEmpty());
    }

    void cancelledOrFailedReadsDoNotReload() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        p.show();
        SetFilePromptHandler([](bool, const QString&) { return QString(); });
        p.mainFm->Action_Import->trigger();
        QVERIFY(p.boxes.shown.isEmpty());
        const QString bad = m_dir.filePath("bad.zvx");
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a container");
        f.close();
        SetFilePromptHandler([&](bool, const QString&) { return bad; });
        p.mainFm->Action_Import->trigger();
        QCOMPARE(p.boxes.shown.size(), 1);
        QCOMPARE(p.boxes.shown[0].caption, QStringLiteral("Error"));
        QCOMPARE(p.boxes.shown[0].text, QStringLiteral("File read failure!"));
    }

    void exportNeedsASelectionAndReportsWriteFailure() {
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            test::InsertTask(db, test::Task("{A}", "root", "apple"));
        }
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        f->Action_Export->trigger();
        QCOMPARE(p.boxes.shown.last().caption, QStringLiteral("Warning"));
        QCOMPARE(p.boxes.shown.last().text, QStringLiteral("Please select a task!"));
        p.tree()->selectionModel()->select(p.row(0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QVERIFY(!f->ExportSelected(m_dir.filePath("no/such/folder/x.zvx")));
        QCOMPARE(p.boxes.shown.last().text, QStringLiteral("File Write Failure !"));
        SetFilePromptHandler([&](bool, const QString&) { return m_dir.filePath("x.zvx"); });
        f->Action_Export->trigger();
        QCOMPARE(f->ZvStatusBar1->panelText(), "Exported: 1 tasks to " + m_dir.filePath("x.zvx"));
        SetFilePromptHandler({});
        // The real prompt says what the file is for.
        QString title;
        test::WhenModal<QFileDialog> prompt([&](QFileDialog* d) {
            title = d->windowTitle();
            d->reject();
        });
        f->Action_ExportCalendar->trigger();
        QCOMPARE(title, QStringLiteral("Export to iCalendar"));
    }

    // The type follows the filter; Save All lists the shown tasks with all
    // their sub-tasks and clears the selection; Save Task keeps it.
    // File offers the iCalendar commands after Import; the selection (or
    // everything) goes out, comes back into another folder, and a file that
    // is not iCalendar gets one box.
    void iCalendarThroughTheWindow() {
        const QString file = m_dir.filePath("tasks.ics");
        QStringList filters;
        SetFilePromptHandler([&](bool save, const QString& filter) {
            filters << QStringLiteral("%1 %2").arg(save ? "save" : "open", filter);
            return file;
        });
        test::ProgramFolder source;
        test::Fill(source.path(),
                   {test::Task("{A}", "root", "apple", false, true),
                    test::Task("{A1}", "{A}", "it's a seed"), test::Task("{B}", "root", "banana")});
        {
            test::Program p(source.path());
            TzvTasksFrame* f = p.show();
            QStringList captions;
            for (QAction* a : p.mainFm->findChild<QMenu*>("File1")->actions())
                captions << a->text();
            const qsizetype at = captions.indexOf("&Import...");
            QCOMPARE(captions.mid(at - 1, 4),
                     (QStringList{"&Export...", "&Import...", "Export to iCa&lendar...",
                                  "Import from iCalen&dar..."}));
            p.tree()->setCurrentIndex(p.row(0));
            f->Action_ExportCalendar->trigger();
            QCOMPARE(f->ZvStatusBar1->panelText(), "Exported: 2 tasks to " + file);
        }
        QVERIFY(test::ReadFile(file).contains("SUMMARY:it's a seed"));
        QVERIFY(!test::ReadFile(file).contains("banana"));
        test::ProgramFolder target;
        test::Program p(target.path());
        TzvTasksFrame* f = p.show();
        p.mainFm->Action_ImportCalendar->trigger();
        QTRY_COMPARE(test::Outline(*f->model()), QStringLiteral("apple(it's a seed)"));
        QTRY_VERIFY(f->ZvStatusBar1->panelText().startsWith(
            "Imported: 2 added, 0 updated, 0 skipped; Safety copy: Backups/"));
        QCOMPARE(filters,
                 (QStringList{"save iCalendar file (*.ics)", "open iCalendar file (*.ics)"}));

        QFile(file).remove();
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        p.mainFm->Action_ImportCalendar->trigger();
        QCOMPARE(p.boxes.texts(),
                 QStringList{"Not an iCalendar file: libical found no calendar component in it."});
        QCOMPARE(f->model()->totalCount(), 2);
    }

    void saveAllAndSaveTask() {
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            test::InsertTask(db, test::Task("{A}", "root", "open"));
            test::InsertTask(db, test::Task("{A1}", "{A}", "sub done", true));
            test::InsertTask(db, test::Task("{B}", "root", "done", true));
        }
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        f->Comb_ViewRange->setCurrentIndex(2); // View Incomplete
        QStringList offered;
        int type = 1;
        QString name = m_dir.filePath("list.txt");
        SetTypedSavePromptHandler([&](const QStringList& filters, int& t) {
            offered = filters;
            t = type;
            return name;
        });
        f->Action_SaveAll->trigger();
        SetTypedSavePromptHandler({});
        QCOMPARE(offered, QStringList({"Text file (*.txt)", "HTML file (*.htm *.html)"}));
        QFile html(m_dir.filePath("list.html"));
        QVERIFY(html.open(QIODevice::ReadOnly));
        const QByteArray page = html.readAll();
        QVERIFY(page.contains("open</th>") && page.contains("sub done</th>"));
        QVERIFY(!page.contains(">done</th>"));
        QVERIFY(page.contains("<p>Tasks 1, Sub-Tasks 1 - "));
        QVERIFY(p.tree()->selectionModel()->selectedRows().isEmpty());

        type = 0;
        name = m_dir.filePath("one.htm");
        SetTypedSavePromptHandler([&](const QStringList&, int& t) {
            t = type;
            return name;
        });
        // Nothing selected: no empty list written, and nothing to unmark.
        f->Action_Save->trigger();
        QCOMPARE(p.boxes.texts(), QStringList{"Please select a task!"});
        QVERIFY(!QFile::exists(m_dir.filePath("one.txt")));
        QCOMPARE(f->Action_TaskComplete->text(), QStringLiteral("Mar&k Complete"));
        p.boxes.shown.clear();
        p.select({p.row(0)});
        f->Action_Save->trigger();
        QVERIFY(QFile::exists(m_dir.filePath("one.txt")));
        QCOMPARE(p.tree()->selectionModel()->selectedRows().size(), 1);
        // The dialog confirmed "one.htm"; "one.txt" is asked about.
        p.boxes.answer = IDCANCEL;
        QFile::resize(m_dir.filePath("one.txt"), 4);
        f->Action_Save->trigger();
        QCOMPARE(p.boxes.texts(),
                 QStringList{"one.txt already exists.\nDo you want to replace it?"});
        QCOMPARE(QFile(m_dir.filePath("one.txt")).size(), 4);
        p.boxes.answer = IDOK;
        f->Action_Save->trigger();
        QVERIFY(QFile(m_dir.filePath("one.txt")).size() > 4);
        p.boxes.shown.clear();

        name = m_dir.filePath("no/such/folder/x.txt");
        f->Action_Save->trigger();
        SetTypedSavePromptHandler({});
        QCOMPARE(p.boxes.shown.last().caption, QStringLiteral("Error"));
        QCOMPARE(p.boxes.shown.last().text, QStringLiteral("File write failure!"));
    }

    // The shown rows on as many pages as they need, into a PDF file.
    void printPagesTheShownRows_data() {
        QTest::addColumn<int>("tasks");
        QTest::addColumn<bool>("expanded");
        QTest::addColumn<bool>("severalPages");
        QTest::newRow("three") << 3 << true << false;
        QTest::newRow("many, sub-tasks shown") << 150 << true << true;
    }
    void printPagesTheShownRows() {
        QFETCH(int, tasks);
        QFETCH(bool, expanded);
        QFETCH(bool, severalPages);
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            for (int i = 0; i < tasks; ++i) {
                const QString tid = QStringLiteral("{T%1}").arg(i);
                test::InsertTask(db, test::Task(tid, "root", QStringLiteral("task %1 it's").arg(i),
                                                false, expanded));
                test::InsertTask(db, test::Task(tid + "s", tid, QStringLiteral("sub %1").arg(i)));
            }
        }
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        const QString pdf = m_dir.filePath(QStringLiteral("print%1.pdf").arg(tasks));
        int asked = 0;
        SetPrintPromptHandler([&](QPrinter& printer) {
            ++asked;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        f->Action_Print->trigger();
        SetPrintPromptHandler([](QPrinter&) { return false; });
        f->Action_Print->trigger(); // cancelled: nothing printed
        SetPrintPromptHandler({});
        QCOMPARE(asked, 1);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        // Each page object of the file, not the page tree.
        const int pages = int(QString::fromLatin1(bytes).count(
            QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))));
        QVERIFY(pages >= 1);
        QCOMPARE(pages > 1, severalPages);
    }

    // A window is fitted into the screen's free area, whatever was stored.
    void fitIntoTheScreen_data() {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<bool>("sizeable");
        QTest::addColumn<QRect>("fitted");
        const QRect area(0, 30, 960, 510); // 1920x1080 at scale 2, a panel on top
        QTest::newRow("inside") << QRect(100, 100, 446, 300) << true << QRect(100, 100, 446, 300);
        QTest::newRow("below the screen")
            << QRect(567, 400, 446, 545) << true << QRect(514, 30, 446, 510);
        QTest::newRow("off to the left")
            << QRect(-300, 50, 446, 300) << true << QRect(0, 50, 446, 300);
        QTest::newRow("fixed size moves")
            << QRect(800, 500, 300, 600) << false << QRect(660, 30, 300, 600);
        QTest::newRow("wider than the area")
            << QRect(10, 40, 2000, 300) << true << QRect(0, 40, 960, 300);
    }
    void fitIntoTheScreen() {
        QFETCH(QRect, window);
        QFETCH(bool, sizeable);
        QFETCH(QRect, fitted);
        QCOMPARE(TZvFormState::FitInto(window, QRect(0, 30, 960, 510), sizeable), fitted);
    }

    void formStateRules() {
        const QString ini = m_dir.filePath("form.ini");
        QWidget w;
        TZvFormState state(&w);
        state.Section = "form";
        state.IniPath = ini;
        QSignalSpy saved(&state, &TZvFormState::OnSaveState);
        w.setGeometry(100, 120, 300, 200);
        state.SaveState();
        const IniFile f(ini);
        QCOMPARE(f.readInteger("form", "Left", 0), 100);
        QCOMPARE(f.readInteger("form", "Right", 0), 400);
        QCOMPARE(f.readInteger("form", "Bottom", 0), 320);
        QVERIFY(f.readBool("form", "Saved", false));
        QVERIFY(!f.readBool("form", "Maximized", true));
        QCOMPARE(saved.count(), 1);

        // A place on no screen comes back at the top-left corner.
        f.writeInteger("form", "Left", -5000);
        f.writeInteger("form", "Right", -4700);
        state.RestoreState();
        QCOMPARE(w.geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(w.geometry().size(), QSize(300, 200));

        // Switched off: neither file nor window changes.
        state.Enabled = false;
        w.setGeometry(10, 10, 50, 50);
        state.SaveState();
        QCOMPARE(f.readInteger("form", "Left", 0), -5000);
        state.RestoreState();
        QCOMPARE(w.geometry(), QRect(10, 10, 50, 50));
        QCOMPARE(saved.count(), 1);

        // A fixed-size window keeps its size: no Right or Bottom.
        QDialog fixed;
        fixed.setFixedSize(120, 80);
        TZvFormState fixedState(&fixed);
        fixedState.Section = "dlg";
        fixedState.IniPath = ini;
        fixedState.SaveState();
        QCOMPARE(f.readString("dlg", "Right", "none"), QStringLiteral("none"));
        QVERIFY(f.readBool("dlg", "Saved", false));
    }

    void mainWindowComesBackWhereItWas() {
        test::ProgramFolder folder;
        {
            test::Program p(folder.path());
            p.show();
            p.mainFm->setGeometry(150, 160, 500, 600);
            p.mainFm->Exit();
        }
        QCOMPARE(IniFile(folder.configPath()).readInteger("form", "Right", 0), 650);
        test::Program again(folder.path());
        again.show();
        QCOMPARE(again.mainFm->geometry(), QRect(150, 160, 500, 600));
    }
};

QTEST_MAIN(TestIoGui)
#include "test_io_gui.moc"
