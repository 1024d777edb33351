#include "FrameHarness.h"
#include "core/Interchange.h"
#include "core/TaskTreeModel.h"
#include "core/XmlTry.h"
#include "gui/Messages.h"
#include "platform/IniFile.h"
#include "tasks/TaskDialogs.h"

#include "core/SafetyCopies.h"
#include "platform/MailTransport.h"
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

// Faults that must cost the user neither settings nor trust: files the
// program may not or cannot write, a database file that is not one, stores
// that fail, and files built to raise a box per record.

namespace {
// The bytes of a file whatever its mode says, for the checks afterwards.
QByteArray readAnyway(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    ::chmod(QFile::encodeName(path).constData(), 0600);
    const QByteArray bytes = test::ReadFile(path);
    ::chmod(QFile::encodeName(path).constData(), st.st_mode & 07777);
    return bytes;
}

bool asRoot() {
    return ::geteuid() == 0;
}
#define SKIP_AS_ROOT()                                                                             \
    if (asRoot())                                                                                  \
    QSKIP("root ignores file modes; .ci/run runs this test as an ordinary user too")

QStringList shownTexts(const TaskTreeModel& m) {
    QStringList t;
    for (const TaskNode* n : m.flatNodes())
        t << n->info.content;
    t.sort();
    return t;
}
// Every column of every row, and every record of the tree with its parent.
QString table(const QString& folder) {
    Database db;
    db.open(folder);
    Query q(db);
    QStringList rows;
    for (OpenQuery(q, "select * from tasks order by tid"); !q.eof(); q.next()) {
        QStringList row;
        for (int i = 0; i < q.fieldCount(); ++i)
            row << q.text(i);
        rows << row.join(u'|');
    }
    return rows.join(u'\n');
}
QString tree(const TaskTreeModel& m) {
    QStringList rows;
    for (const TaskNode* n : m.flatNodes()) {
        const TTaskInfo& t = n->info;
        rows << QStringLiteral("%1<%2 %3 %4 %5 %6 %7 %8 %9")
                    .arg(t.tid, n->parent() ? n->parent()->info.tid : QString(), t.pid, t.content)
                    .arg(t.checkFlag)
                    .arg(t.textColor)
                    .arg(t.alarmFlag)
                    .arg(t.dueFlag)
                    .arg(t.checkTime);
    }
    return rows.join(u'\n');
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { test::FixGuiEnvironment(); }

    // Each row: the file before, its mode, the key written, and the bytes
    // after (empty: the file as it was, and the write refused).
    void settingsFileUnderFaults_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        const QByteArray settings = "[form]\nLeft=10\nTop=20\n\n[option]\nhintSize=30\n"
                                    "visitWeb=2026-01-01T00:00:00.000Z\n";
        QTest::newRow("unreadable") << settings << 0222 << "Saved"
                                    << "1" << QByteArray();
        QTest::newRow("read-only, same length") << settings << 0444 << "hintSize"
                                                << "31" << QByteArray();
        QTest::newRow("read-only, longer") << settings << 0444 << "addOpenEn"
                                           << "1" << QByteArray();

        QByteArray foreign =
            "[form]\r\nLeft=10\r\n; caf\xe9 \xff\xfe\x80\r\n[option]\r\nhintSize=30\r\n";
        QTest::newRow("foreign bytes and CR LF, replaced")
            << foreign << 0600 << "hintSize"
            << "4000" << QByteArray(foreign).replace("hintSize=30", "hintSize=4000");
        QTest::newRow("foreign bytes and CR LF, added") << foreign << 0600 << "addOpenEn"
                                                        << "1" << foreign + "addOpenEn=1\r\n";
        QByteArray big;
        for (int i = 0; i < 4096; ++i)
            big += "; \xc0\xc1\xf5\xff latin-1 caf\xe9 line\n";
        QTest::newRow("64 KB not UTF-8") << big + "[option]\nhintSize=30\n"
                                         << 0600 << "hintSize"
                                         << "29" << big + "[option]\nhintSize=29\n";
        QTest::newRow("no final line break")
            << QByteArray("[option]\nhintSize=30") << 0600 << "addOpenEn"
            << "1" << QByteArray("[option]\nhintSize=30\naddOpenEn=1\n");
        QTest::newRow("blank lines at the end kept")
            << QByteArray("[option]\nhintSize=30\n\n\n") << 0600 << "hintSize"
            << "3" << QByteArray("[option]\nhintSize=3\n\n\n");
    }
    void settingsFileUnderFaults() {
        QFETCH(QByteArray, before);
        QFETCH(int, mode);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        if ((mode & 0600) != 0600)
            SKIP_AS_ROOT();
        QTemporaryDir dir;
        const QString path = dir.filePath("zvConf.ini");
        QVERIFY(test::WriteFile(path, before));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0);
        const IniFile ini(path);
        QString message;
        try {
            ini.writeString("option", key, value);
        } catch (const IniWriteError& e) {
            message = QString::fromUtf8(e.what());
        }
        if (after.isEmpty()) {
            QCOMPARE(message, "Unable to write to " + path);
            QCOMPARE(readAnyway(path), before);
        } else {
            QCOMPARE(message, QString());
            QCOMPARE(test::ReadFile(path), after);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"zvConf.ini"});
    }

    // A writer killed before its rename leaves its temporary file; the
    // next write that replaces the file takes it away. A live writer's is
    // left alone.
    void leftoverTemporaryFilesGo() {
        QTemporaryDir dir;
        const QString path = dir.filePath("zvConf.ini");
        QVERIFY(test::WriteFile(path, "[option]\nhintSize=30\n"));
        // Far above any pid the system hands out.
        QVERIFY(test::WriteFile(path + ".99999999.tmp", "[option]\nhalf"));
        QVERIFY(test::WriteFile(path + ".4194305.tmp", "[option]\nhalf"));
        const QString live = path + '.' + QString::number(::getppid()) + ".tmp";
        QVERIFY(test::WriteFile(live, "in use"));
        IniFile(path).writeString("option", "addOpenEn", "1");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList({"zvConf.ini", QFileInfo(live).fileName()}));
        QCOMPARE(test::ReadFile(path), QByteArray("[option]\nhintSize=30\naddOpenEn=1\n"));
    }

    // Through the program: the message is shown and the settings stay.
    // Said once a run, however often the start and reloads write.
    void readOnlySettingsAreReportedNotReplaced_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("read-only") << 0444;
        QTest::newRow("unreadable") << 0222;
    }
    void readOnlySettingsAreReportedNotReplaced() {
        QFETCH(int, mode);
        SKIP_AS_ROOT();
        test::ProgramFolder folder;
        const QByteArray settings = "[option]\nvisitWeb=2026-01-01T00:00:00.000Z\n"
                                    "[log]\nprivateTasks=7\n";
        QVERIFY(test::WriteFile(folder.configPath(), settings));
        QVERIFY(::chmod(QFile::encodeName(folder.configPath()).constData(), mode_t(mode)) == 0);
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        PostTaskMessage(f, WM_TASKS_RELOAD);
        QTRY_COMPARE(p.boxes.texts(), QStringList{"Unable to write to " + folder.configPath()});
        QVERIFY(f->Timer1->isActive()); // the reload went on
        QCOMPARE(readAnyway(folder.configPath()), settings);
    }

    // Opening reads only: a file that is no task database is named once
    // at start and left exactly as it was.
    void databaseFileThatIsNone_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty file") << "empty"
                                    << "is not a task database.";
        QTest::newRow("keyed, no tables") << "no tables"
                                          << "is not a task database.";
        QTest::newRow("keyed, other tables") << "other tables"
                                             << "is not a task database.";
        QTest::newRow("a directory") << "directory"
                                     << "Could not find file";
    }
    void databaseFileThatIsNone() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        test::ProgramFolder folder(false);
        const QString path = folder.path() + "zvData.zvb";
        if (kind == "directory") {
            QVERIFY(QDir().mkdir(path));
        } else {
            QVERIFY(test::WriteFile(path, QByteArray()));
            if (kind != "empty") {
                sqlite3* db = nullptr;
                QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
                QCOMPARE(sqlite3_exec(db,
                                      "pragma key='mavrost'; create table t(x); insert into t "
                                      "values(1);",
                                      nullptr, nullptr, nullptr),
                         SQLITE_OK);
                if (kind == "no tables")
                    QCOMPARE(sqlite3_exec(db, "drop table t; vacuum;", nullptr, nullptr, nullptr),
                             SQLITE_OK);
                sqlite3_close(db);
            }
        }
        const QByteArray before = QFileInfo(path).isFile() ? test::ReadFile(path) : QByteArray();
        const QStringList beside = QDir(folder.path()).entryList(QDir::Files);
        {
            test::Program p(folder.path());
            p.show();
            QCOMPARE(p.boxes.shown.size(), 1);
            QVERIFY2(p.boxes.shown[0].text.contains(message), qPrintable(p.boxes.shown[0].text));
            QVERIFY(!p.mainFm->db().isOpen());
            // Later commands fail as for a missing database, each once.
            Guarded([&] { p.frame->CountTasks(); });
            QCOMPARE(p.boxes.shown.size(), 2);
        }
        if (kind == "directory") {
            QVERIFY(QFileInfo(path).isDir());
        } else {
            QCOMPARE(test::ReadFile(path), before);
        }
        QStringList after = QDir(folder.path()).entryList(QDir::Files);
        after.removeAll("zvConf.ini");
        QStringList was = beside;
        was.removeAll("zvConf.ini");
        QCOMPARE(after, was); // no journal or header written beside it
    }

    // A store that fails shows its error and the tree keeps to the table;
    // the editor opens again with what was typed, and Esc then drops it.
    void failedStoresLeaveTheTreeAsStored_data() {
        QTest::addColumn<bool>("readOnlyFile");
        QTest::newRow("no connection") << false;
        QTest::newRow("read-only database file") << true;
    }
    void failedStoresLeaveTheTreeAsStored() {
        QFETCH(bool, readOnlyFile);
        if (readOnlyFile)
            SKIP_AS_ROOT();
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            test::InsertTask(db, test::Task("{A}", "root", "it's stored"));
        }
        const QString dbPath = folder.path() + "zvData.zvb";
        if (readOnlyFile) {
            QVERIFY(::chmod(QFile::encodeName(dbPath).constData(), 0444) == 0);
        }
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        QCOMPARE(p.boxes.shown.size(), 0);
        if (!readOnlyFile)
            p.mainFm->db().close();
        const QStringList expected{"it's stored"};
        // Each failed store shows its error (the sub-task's also that of
        // storing its parent's expansion).
        qsizetype boxes = 0;
        // The typed text is offered again in an open editor.
        const auto retyped = [&](const QString& typed) {
            QTRY_VERIFY(f->editingNode());
            QPlainTextEdit* again = p.editor();
            QCOMPARE(again->toPlainText(), typed);
            QTest::keyClick(again, Qt::Key_Escape);
        };

        // A new task typed in.
        f->Action_TaskAdd->trigger();
        QPlainTextEdit* editor = p.editor();
        QTest::keyClicks(editor, "never stored");
        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY(p.boxes.shown.size() > boxes);
        boxes = p.boxes.shown.size();
        retyped("never stored");
        QTRY_COMPARE(shownTexts(*f->model()), expected);

        // A new sub-task typed in.
        p.select({p.row(0)});
        f->Action_SubTaskAdd->trigger();
        editor = p.editor();
        QTest::keyClicks(editor, "child never stored");
        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY(p.boxes.shown.size() > boxes);
        boxes = p.boxes.shown.size();
        retyped("child never stored");
        QTRY_COMPARE(shownTexts(*f->model()), expected);

        // Pasted text.
        QGuiApplication::clipboard()->setText("pasted, never stored");
        f->Action_PasteTask->trigger();
        QTRY_VERIFY(p.boxes.shown.size() > boxes);
        boxes = p.boxes.shown.size();
        QTRY_COMPARE(shownTexts(*f->model()), expected);

        // An edit of the stored row.
        p.select({p.row(0)});
        f->Action_TaskEdit->trigger();
        editor = p.editor();
        editor->selectAll();
        QTest::keyClicks(editor, "changed on screen only");
        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY(p.boxes.shown.size() > boxes);
        boxes = p.boxes.shown.size();
        retyped("changed on screen only");
        QTRY_COMPARE(shownTexts(*f->model()), expected);
        QCOMPARE(p.row(0).data().toString(), QStringLiteral("it's stored"));
        for (const auto& b : p.boxes.shown)
            QVERIFY(!b.text.isEmpty());
        ::chmod(QFile::encodeName(dbPath).constData(), 0644);
        QCOMPARE(test::StoredContents(folder.path()), expected);
    }

    // The database file deleted or replaced while the program runs: the next
    // write is refused with a box and nothing goes into the lost file.
    void databaseFileGoneIsNoticed_data() {
        QTest::addColumn<bool>("replaced");
        QTest::newRow("deleted") << false;
        QTest::newRow("replaced") << true;
    }
    void databaseFileGoneIsNoticed() {
        QFETCH(bool, replaced);
        test::ProgramFolder folder;
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        const QString file = folder.path() + Database::FileName;
        QVERIFY(QFile::remove(file));
        if (replaced)
            Database::createEmpty(file);
        QGuiApplication::clipboard()->setText("typed after the file went");
        f->Action_PasteTask->trigger();
        QTRY_COMPARE(p.boxes.shown.size(), 1);
        QVERIFY(p.boxes.shown[0].text.contains("deleted or replaced"));
        QVERIFY(f->model()->flatNodes().empty());
        if (replaced)
            QCOMPARE(test::StoredContents(folder.path()), QStringList());
    }

    // A command on several rows that the database refuses half-way stores
    // nothing, and the tree shows what it showed.
    void refusedCommandsChangeNothing_data() {
        QTest::addColumn<QString>("command");
        for (const char* c :
             {"move", "drop", "delete", "complete", "check box", "colour", "reminder", "due date"})
            QTest::newRow(c) << QString(c);
    }
    void refusedCommandsChangeNothing() {
        QFETCH(QString, command);
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            test::InsertTask(db, test::Task("{A}", "root", "A", false, true));
            test::InsertTask(db, test::Task("{A1}", "{A}", "a1"));
            test::InsertTask(db, test::Task("{A2}", "{A}", "a2"));
            test::InsertTask(db, test::Task("{B}", "root", "B"));
            test::InsertTask(db, test::Task("{C}", "root", "C"));
            // The disk gives out at B's row.
            db.exec("create trigger full_u before update on tasks when old.tid='{B}' begin "
                    "select raise(abort, 'database or disk is full'); end;"
                    "create trigger full_d before delete on tasks when old.tid='{B}' begin "
                    "select raise(abort, 'database or disk is full'); end");
        }
        const QString before = table(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        const QString shown = tree(*f->model());
        p.select({p.row(0), p.row(1)}); // A, with its sub-tasks, and B
        test::WhenModal<TColorSetDlg> colour([](TColorSetDlg* d) {
            d->cb_text->click();
            d->cbox_text->setCurrentIndex(d->cbox_text->findText("Red"));
            d->btn_Ok->click();
        });
        test::WhenModal<TReminderSetDlg> reminder([](TReminderSetDlg* d) {
            d->cb_reminder->click();
            d->edt_date->setDate(QDate(2030, 1, 1));
            d->btn_ok->click();
        });
        test::WhenModal<TDueSetDlg> due([](TDueSetDlg* d) {
            d->cb_due->click();
            d->Btn_Ok->click();
        });
        if (command == "move")
            Guarded([&] { f->MoveSelectedTo(f->model()->topLevel()[2].get(), true); });
        else if (command == "drop")
            Guarded([&] { f->VtTasksDragDrop(p.row(2)); });
        else if (command == "delete")
            f->Action_TaskDelete->trigger();
        else if (command == "complete")
            f->Action_TaskComplete->trigger();
        else if (command == "check box")
            f->model()->setData(p.row(1), Qt::Checked, Qt::CheckStateRole);
        else if (command == "colour")
            f->Action_SetColor->trigger();
        else if (command == "reminder")
            f->Action_TaskReminderSet->trigger();
        else
            f->Action_TaskDueSet->trigger();
        QTRY_VERIFY(!p.boxes.shown.isEmpty());
        QVERIFY2(p.boxes.shown.last().text.contains("disk is full"),
                 qPrintable(p.boxes.shown.last().text));
        QCOMPARE(table(folder.path()), before);
        QCOMPARE(tree(*f->model()), shown);
    }

    // The same on many rows, where the tree changes in one go: refused at
    // the 150th of 200, nothing is stored and the tree is as it was.
    void refusedCommandOnManyRowsChangesNothing_data() {
        QTest::addColumn<QString>("command");
        for (const char* c : {"delete", "move", "complete"})
            QTest::newRow(c) << QString(c);
    }
    void refusedCommandOnManyRowsChangesNothing() {
        QFETCH(QString, command);
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            test::InsertTask(db, test::Task("{T}", "root", "0 target"));
            for (int i = 0; i < 200; ++i)
                test::InsertTask(db, test::Task(QString("{%1}").arg(i), "root",
                                                QString("task %1").arg(i, 3, 10, QChar('0'))));
            db.exec("create trigger full_u before update on tasks when old.tid='{150}' begin "
                    "select raise(abort, 'database or disk is full'); end;"
                    "create trigger full_d before delete on tasks when old.tid='{150}' begin "
                    "select raise(abort, 'database or disk is full'); end");
        }
        const QString before = table(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        const QString shown = tree(*f->model());
        const QString outline = test::Outline(*f->model());
        p.tree()->selectAll();
        p.tree()->selectionModel()->select(p.row(0), QItemSelectionModel::Deselect |
                                                         QItemSelectionModel::Rows);
        if (command == "delete")
            f->Action_TaskDelete->trigger();
        else if (command == "move")
            Guarded([&] { f->MoveSelectedTo(f->model()->topLevel()[0].get(), false); });
        else
            f->Action_TaskComplete->trigger();
        QTRY_VERIFY(!p.boxes.shown.isEmpty());
        QVERIFY(p.boxes.shown.last().text.contains("disk is full"));
        QCOMPARE(table(folder.path()), before);
        QCOMPARE(tree(*f->model()), shown);
        QCOMPARE(test::Outline(*f->model()), outline);
        QVERIFY(!f->Action_Undo->isEnabled());
    }

    // 20,000 records that are all tid: one box for the first missing
    // attribute, one with the count of the rest; the records are still read.
    void missingAttributesRaiseTwoBoxes_data() {
        QTest::addColumn<bool>("restore");
        QTest::newRow("import") << false;
        QTest::newRow("restore") << true;
    }
    void missingAttributesRaiseTwoBoxes() {
        QFETCH(bool, restore);
        QByteArray xml = "<zarvik app=\"Tally-Ward\"><memos/><tasks>";
        const int records = 20000;
        for (int i = 0; i < records; ++i)
            xml += "<task tid=\"{" + QByteArray::number(i) + "}\"/>";
        xml += "</tasks></zarvik>";
        QTemporaryDir dir;
        const QString file = dir.filePath("flood.zvx");
        QVERIFY(test::WriteFile(file, Txmltry::Compress(xml)));
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        QStringList boxes;
        const auto box = [&](const QString& t) { boxes << t; };
        const bool ok = restore ? Interchange::RestoreFromFile(db, file, {}, box)
                                : Interchange::ImportFromFile(db, file, box);
        QVERIFY(ok);
        // Every record misses the 12 columns after its id (import reads pid
        // first, restore asks for it with the rest).
        const int missing = records * 12;
        QCOMPARE(boxes,
                 QStringList({"zarvik,tasks,task#0: pid not Exist !",
                              QString("... and %1 more missing attributes").arg(missing - 1)}));
        Query q(db);
        OpenQuery(q, "select count(*) from tasks");
        QCOMPARE(q.integer(0), records);
    }

    // U+0000 cannot travel in a backup: the text goes without it, whole.
    void nulInTextIsDroppedNotCut() {
        QTemporaryDir dir;
        test::ProgramFolder folder;
        const QString withNul = QStringLiteral("before") + QChar(u'\0') + QStringLiteral("after");
        {
            Database db;
            db.open(folder.path());
            test::InsertTask(db, test::Task("{A}", "root", withNul));
            Interchange::WriteBackup(db, dir.filePath("nul.zvx"), "1");
        }
        test::ProgramFolder other;
        {
            Database db;
            db.open(other.path());
            QVERIFY(Interchange::RestoreFromFile(db, dir.filePath("nul.zvx"), {}, {}));
        }
        QCOMPARE(test::StoredContents(other.path()), QStringList{"beforeafter"});
        // Nor does a reference to it in a file from elsewhere cut the text.
        QByteArray xml = Txmltry::ReadContainer(dir.filePath("nul.zvx"));
        QVERIFY(xml.contains("beforeafter"));
        xml.replace("beforeafter", "before&#0;mid&#x00;after &#10; &#;");
        QVERIFY(test::WriteFile(dir.filePath("refs.zvx"), Txmltry::Compress(xml)));
        {
            Database db;
            db.open(other.path());
            QVERIFY(Interchange::RestoreFromFile(db, dir.filePath("refs.zvx"), {}, {}));
        }
        QCOMPARE(test::StoredContents(other.path()), QStringList{"beforemidafter \r\n &#;"});

        // Nor do the editor and paste store one.
        test::Program p(other.path());
        TzvTasksFrame* f = p.show();
        QGuiApplication::clipboard()->setText(QStringLiteral("pa") + QChar(u'\0') + "ste");
        f->Action_PasteTask->trigger();
        p.select({p.row(0)});
        f->Action_TaskEdit->trigger();
        QPlainTextEdit* editor = p.editor();
        editor->setPlainText(QStringLiteral("ed") + QChar(u'\0') + "ited");
        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
        QTRY_COMPARE(test::StoredContents(other.path()), QStringList({"edited", "paste"}));
        QVERIFY(p.boxes.shown.isEmpty());
    }
};

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
