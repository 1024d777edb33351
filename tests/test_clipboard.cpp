#include "FrameHarness.h"

#include <QClipboard>
#include <QPlainTextEdit>

namespace {} // namespace

class TestClipboard : public QObject {
    Q_OBJECT
    std::unique_ptr<test::ProgramFolder> m_folder;

    test::Program* open(std::initializer_list<TTaskInfo> tasks) {
        m_folder = std::make_unique<test::ProgramFolder>();
        {
            Database db;
            db.open(m_folder->path());
            for (const TTaskInfo& t : tasks)
                test::InsertTask(db, t);
        }
        m_program = std::make_unique<test::Program>(m_folder->path());
        m_program->show();
        return m_program.get();
    }
    std::unique_ptr<test::Program> m_program;

private slots:
    void initTestCase() { test::FixGuiEnvironment(); }
    void cleanup() {
        m_program.reset();
        m_folder.reset();
    }

    // Selected texts in tree order, joined by a carriage return alone.
    void copyJoinsTheSelectedTexts_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("copied"); // "<untouched>": the clipboard keeps its text
        QTest::newRow("three") << QStringList({"a", "b", "c"}) << "a\rb\rc";
        QTest::newRow("empty between") << QStringList({"a", "", "b"}) << "a\r\rb";
        QTest::newRow("empty first") << QStringList({"", "b"}) << "b";
        QTest::newRow("only empty") << QStringList({""}) << "<untouched>";
        QTest::newRow("nothing selected") << QStringList() << "<untouched>";
        QTest::newRow("line breaks kept")
            << QStringList({"one\r\ntwo", "it's"}) << "one\r\ntwo\rit's";
    }
    void copyJoinsTheSelectedTexts() {
        QFETCH(QStringList, texts);
        QFETCH(QString, copied);
        test::Program* p = open({test::Task("{1}", "root", "x1"), test::Task("{2}", "root", "x2"),
                                 test::Task("{3}", "root", "x3")});
        TzvTasksFrame* f = p->frame;
        for (int i = 0; i < texts.size(); ++i) {
            f->model()->topLevel()[i]->info.content = texts[i];
            f->model()->nodeChanged(f->model()->topLevel()[i].get());
        }
        p->tree()->clearSelection();
        for (int i = int(texts.size()) - 1; i >= 0; --i) // selected in reverse: tree order wins
            p->tree()->selectionModel()->select(p->row(i), QItemSelectionModel::Select |
                                                               QItemSelectionModel::Rows);
        QGuiApplication::clipboard()->setText(QStringLiteral("<untouched>"));
        p->tree()->setFocus();
        QTest::keyClick(p->tree(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    }

    void selectedSubTasksAreCopiedAlone() {
        test::Program* p = open({test::Task("{A}", "root", "A", false, true),
                                 test::Task("{A1}", "{A}", "a1"), test::Task("{A2}", "{A}", "a2")});
        p->select({p->row(0)});
        p->frame->Action_CopyTask->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("A")); // not its sub-tasks
        p->select({p->row(0, 1), p->row(0, 0)});
        p->frame->Action_CopyTask->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a1\ra2"));
    }

    // Paste makes one top-level task at the end, trailing blanks gone, with
    // only a new task's columns written.
    void pasteAddsOneTask_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("content");
        QTest::newRow("line and blanks") << "buy it's\r\n \t "
                                         << "buy it's";
        QTest::newRow("several lines") << "a\rb\r\nc"
                                       << "a\rb\r\nc";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("control characters") << "x\x01\x1f "
                                            << "x";
    }
    void pasteAddsOneTask() {
        QFETCH(QString, clipboard);
        QFETCH(QString, content);
        test::Program* p = open(
            {test::Task("{A}", "root", "first", false, true), test::Task("{A1}", "{A}", "sub")});
        TzvTasksFrame* f = p->frame;
        QGuiApplication::clipboard()->setText(clipboard);
        p->tree()->setFocus();
        QTest::keyClick(p->tree(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f->model()->topLevel().size(), size_t(2));
        QCOMPARE(f->model()->topLevel().back()->info.content, content);
        QVERIFY(f->model()->topLevel().back()->info.tid.startsWith(u'{'));
        const auto stored = test::StoredRows(m_folder->path());
        QCOMPARE(stored.size(), 3);
        QCOMPARE(stored.last().pid, QStringLiteral("root"));
        QCOMPARE(stored.last().content, content);
        QVERIFY(stored.last().expandNull && stored.last().checkTimeNull);
        QVERIFY(f->trayHint().contains(QLatin1String("(3) "))); // refreshed: three open tasks
        QVERIFY(f->Action_PasteTask->isEnabled());
        QVERIFY(p->boxes.shown.isEmpty());
    }

    void pasteWhileEditingDropsTheEditFirst() {
        test::Program* p = open({test::Task("{A}", "root", "kept")});
        TzvTasksFrame* f = p->frame;
        p->select({p->row(0)});
        f->Action_TaskEdit->trigger();
        QTRY_VERIFY(f->openEditor());
        QTest::keyClicks(qobject_cast<QPlainTextEdit*>(f->openEditor()), " changed");
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        // As from the icon's menu: the frame's paste command runs as it is.
        p->mainFm->Action_PasteTask->trigger();
        QTRY_VERIFY(!f->editingNode());
        QCOMPARE(f->model()->topLevel().front()->info.content, QStringLiteral("kept"));
        QCOMPARE(f->model()->topLevel().back()->info.content, QStringLiteral("pasted"));
        const auto stored = test::StoredRows(m_folder->path());
        QCOMPARE(stored.size(), 2);
        QCOMPARE(stored.first().content, QStringLiteral("kept"));
    }

    void pasteOverANewUnsavedRowLeavesNoTrace() {
        test::Program* p = open({});
        TzvTasksFrame* f = p->frame;
        QTest::keyClick(p->tree(), Qt::Key_Return);
        QTRY_VERIFY(f->openEditor());
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        f->Action_PasteTaskExecute();
        QTRY_COMPARE(f->model()->topLevel().size(), size_t(1));
        QCOMPARE(f->model()->topLevel().front()->info.content, QStringLiteral("pasted"));
        QCOMPARE(test::StoredRows(m_folder->path()).size(), 1);
    }
};

QTEST_MAIN(TestClipboard)
#include "test_clipboard.moc"
