#include "FrameHarness.h"
#include "components/ZvStatusBar.h"
#include "core/TaskHistory.h"
#include "tasks/TaskDialogs.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QUndoStack>

namespace {

const QDateTime kNow(QDate(2026, 3, 2), QTime(10, 0));

// Every row with its row id and each value with its storage class.
QStringList Table(Database& db) {
    Query q(db);
    QStringList cols;
    OpenQuery(q, "select * from tasks where 0");
    for (int i = 0; i < q.fieldCount(); ++i)
        cols << "quote(" + q.fieldName(i) + ")";
    QStringList rows;
    for (OpenQuery(q, "select rowid || ' ' || " + cols.join(" || '|' || ") +
                          " from tasks order by rowid");
         !q.eof(); q.next())
        rows << q.text(0);
    return rows;
}

// The tree as the frame holds it, and as a load of the table builds it,
// each row with its record: equal when the tree shows the table.
QStringList Records(const TaskTreeModel& m) {
    QStringList out;
    m.forEachNode([&](TaskNode* n) {
        const TTaskInfo& t = n->info;
        out << QStringList{t.tid,
                           t.pid,
                           t.content,
                           QString::number(t.checkFlag),
                           QString::number(t.alarmFlag),
                           QString::number(t.alarmTime, 'g', 17),
                           QString::number(t.dueFlag),
                           QString::number(t.textColor),
                           QString::number(t.backgroundColor),
                           QString::number(t.checkTime, 'g', 17)}
                   .join(u'|');
    });
    out.sort();
    return out;
}

QStringList Table(const QString& folder) {
    Database db;
    db.open(folder);
    return Table(db);
}

QStringList LoadedRecords(Database& db) {
    TaskTreeModel m;
    LoadTaskTree(db, m);
    return Records(m);
}

void Fill(const QString& folder) {
    using test::Task;
    TTaskInfo a = Task("{A}", "root", "a's task", false, true);
    a.textColor = 255;
    a.backgroundColor = 65280;
    a.alarmFlag = true;
    a.alarmTime = ToDateTime(kNow.addSecs(-60)); // due
    a.createTime = a.editTime = ToDateTime(kNow.addDays(-3));
    TTaskInfo c = Task("{C}", "root", "c", true);
    c.checkTime = ToDateTime(kNow.addDays(-1));
    c.dueFlag = true;
    c.dueTime = ToDateTime(kNow.addDays(2));
    test::Fill(folder, {a, Task("{A1}", "{A}", "a1"), Task("{A2}", "{A}", "a2"),
                        Task("{A3}", "{A}", "a3"), Task("{B}", "root", "b"), c});
}

} // namespace

class TestUndo : public QObject {
    Q_OBJECT
    std::unique_ptr<test::ProgramFolder> m_folder;
    std::unique_ptr<test::Program> m_p;

    TzvTasksFrame* open() {
        m_folder = std::make_unique<test::ProgramFolder>();
        Fill(m_folder->path());
        m_p = std::make_unique<test::Program>(m_folder->path());
        TzvTasksFrame* f = m_p->show();
        f->Timer1->stop(); // reminders come when a test asks
        return f;
    }
    void type(const QString& text) {
        QPlainTextEdit* e = m_p->editor();
        e->selectAll();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY(!m_p->frame->editingNode());
    }

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

    // Rows a, b, c at the top, a with a1..a3, in that order.
    void everyCommandIsOneStep_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("caption");
        for (const auto& [c, caption] : std::initializer_list<std::pair<const char*, const char*>>{
                 {"add task", "Add Task"},
                 {"add sub-task", "Add Sub-Task"},
                 {"add from the icon", "Add Task"},
                 {"edit", "Edit"},
                 {"delete with sub-tasks", "Delete"},
                 {"delete sub-tasks", "Delete"},
                 {"complete", "Mark Complete"},
                 {"incomplete", "Unmark Complete"},
                 {"check box", "Mark Complete"},
                 {"reminder set", "Set Reminder"},
                 {"reminder cleared", "Set Reminder"},
                 {"due date", "Set Due Date"},
                 {"snooze", "Snooze"},
                 {"dismiss", "Dismiss"},
                 {"colour", "Set Color"},
                 {"move to", "Move to"},
                 {"move to root", "Move to"},
                 {"drop task with sub-tasks", "Drag and Drop"},
                 {"paste", "Paste"}})
            QTest::newRow(c) << QString(c) << QString(caption);
    }
    void everyCommandIsOneStep() {
        QFETCH(QString, command);
        QFETCH(QString, caption);
        TzvTasksFrame* f = open();
        m_p->tree()->expandAll();
        const QStringList before = Table(m_folder->path());
        const QString outline = test::Outline(*f->model());
        QVERIFY(!f->Action_Undo->isEnabled() && !f->Action_Redo->isEnabled());

        test::WhenModal<TColorSetDlg> colour([](TColorSetDlg* d) {
            d->cb_bg->click();
            d->cbox_bg->setCurrentIndex(d->cbox_bg->findText("Yellow"));
            d->btn_Ok->click();
        });
        test::WhenModal<TReminderSetDlg> reminder([](TReminderSetDlg* d) {
            d->cb_reminder->click(); // a's reminder goes; b gets one
            d->btn_ok->click();
        });
        test::WhenModal<TDueSetDlg> due([](TDueSetDlg* d) {
            d->cb_due->click();
            d->Btn_Ok->click();
        });
        test::WhenModal<TtaskReminderDlg> popup([&](TtaskReminderDlg* d) {
            command == "snooze" ? d->btn_snooze->click() : d->btn_dismiss->click();
        });
        const auto a = m_p->row(0), b = m_p->row(1), c = m_p->row(2);
        if (command == "add task") {
            f->Action_TaskAdd->trigger();
            type("new, it's");
        } else if (command == "add sub-task") {
            m_p->select({b});
            f->Action_SubTaskAdd->trigger();
            type("under b");
        } else if (command == "add from the icon") {
            m_p->mainFm->Action_AddTask->trigger();
            type("from the icon");
        } else if (command == "edit") {
            m_p->select({m_p->row(0, 1)});
            f->Action_TaskEdit->trigger();
            type("a2 changed");
        } else if (command == "delete with sub-tasks") {
            m_p->select({a, c});
            f->Action_TaskDelete->trigger();
        } else if (command == "delete sub-tasks") {
            m_p->select({m_p->row(0, 0), m_p->row(0, 2)});
            f->Action_TaskDelete->trigger();
        } else if (command == "complete") {
            m_p->select({a, b});
            f->Action_TaskComplete->trigger();
        } else if (command == "incomplete") {
            m_p->select({c});
            f->Action_TaskComplete->trigger();
        } else if (command == "check box") {
            f->model()->setData(m_p->row(0, 2), Qt::Checked, Qt::CheckStateRole);
        } else if (command == "reminder set" || command == "reminder cleared") {
            m_p->select({command == "reminder set" ? b : a});
            f->Action_TaskReminderSet->trigger();
        } else if (command == "due date") {
            m_p->select({c});
            f->Action_TaskDueSet->trigger();
        } else if (command == "snooze" || command == "dismiss") {
            f->Timer1Timer();
            QCOMPARE(popup.count, 1);
        } else if (command == "colour") {
            m_p->select({a, b});
            f->Action_SetColor->trigger();
        } else if (command == "move to") {
            m_p->select({c});
            f->MoveSelectedTo(f->model()->topLevel()[1].get(), true);
        } else if (command == "move to root") {
            m_p->select({m_p->row(0, 1)});
            f->MoveSelectedTo(nullptr, true);
        } else if (command == "drop task with sub-tasks") {
            m_p->select({a});
            f->VtTasksDragDrop(c);
        } else {
            QGuiApplication::clipboard()->setText("pasted\nsecond line");
            f->Action_PasteTask->trigger();
        }
        const QStringList after = Table(m_folder->path());
        const QString outlineAfter = test::Outline(*f->model());
        QVERIFY(after != before);
        QCOMPARE(f->undoStack()->count(), 1);
        QCOMPARE(f->Action_Undo->text(), "&Undo " + caption);

        for (int round = 0; round < 2; ++round) {
            f->Action_Undo->trigger();
            QCOMPARE(Table(m_folder->path()), before);
            QCOMPARE(test::Outline(*f->model()), outline);
            Database db;
            db.open(m_folder->path());
            QCOMPARE(Records(*f->model()), LoadedRecords(db));
            QCOMPARE(f->Action_Redo->text(), "&Redo " + caption);
            QVERIFY(!f->Action_Undo->isEnabled());
            f->Action_Redo->trigger();
            QCOMPARE(Table(m_folder->path()), after);
            QCOMPARE(test::Outline(*f->model()), outlineAfter);
            QCOMPARE(Records(*f->model()), LoadedRecords(db));
        }
        QVERIFY(m_p->boxes.shown.size() == (command.startsWith("delete") ? 1 : 0));
    }

    // A long run of commands with undo and redo among them: after each, the
    // table is the one the test kept for that point of the history, and the
    // tree is the one a load of it gives.
    void longMixedHistory() {
        TzvTasksFrame* f = open();
        Database db;
        db.open(m_folder->path());
        QRandomGenerator random(qEnvironmentVariableIntValue("UNDO_SEED") + 25);
        std::vector<QStringList> states{Table(db)};
        int at = 0;
        test::WhenModal<TColorSetDlg> colour([&](TColorSetDlg* d) {
            d->cb_text->click();
            d->cbox_text->setCurrentIndex(random.bounded(d->cbox_text->count()));
            d->btn_Ok->click();
        });
        const auto pickSiblings = [&] {
            const TaskTreeModel& m = *f->model();
            QModelIndex parent;
            if (random.bounded(2) && m.rowCount() > 0) {
                parent = m.index(random.bounded(m.rowCount()), 0);
                if (m.rowCount(parent) == 0)
                    parent = {};
            }
            m_p->tree()->clearSelection();
            const int n = m.rowCount(parent);
            for (int r = 0; r < n; ++r)
                if (random.bounded(3) == 0 || r == n - 1)
                    m_p->tree()->selectionModel()->select(m.index(r, 0, parent),
                                                          QItemSelectionModel::Select |
                                                              QItemSelectionModel::Rows);
            return n > 0;
        };
        int undos = 0;
        for (int i = 0; i < 300; ++i) {
            const int op = random.bounded(10);
            QUndoStack* stack = f->undoStack();
            if (op < 2 && stack->canUndo()) {
                f->Action_Undo->trigger();
                --at;
                ++undos;
            } else if (op == 2 && stack->canRedo()) {
                f->Action_Redo->trigger();
                ++at;
            } else {
                QGuiApplication::clipboard()->setText(QString("task %1's").arg(i));
                if (op == 3 || f->model()->rowCount() < 3) {
                    f->Action_PasteTask->trigger();
                } else if (!pickSiblings()) {
                    continue;
                } else if (op == 4) {
                    f->Action_TaskDelete->trigger();
                } else if (op == 5) {
                    f->Action_TaskComplete->trigger();
                } else if (op == 6) {
                    f->Action_SetColor->trigger();
                } else {
                    const auto targets = f->MoveTargets();
                    if (targets.empty())
                        continue;
                    TaskNode* target = targets[size_t(random.bounded(int(targets.size())))];
                    op == 7 ? f->MoveSelectedTo(target, true)
                            : f->VtTasksDragDrop(f->model()->indexOf(target));
                }
                QStringList now = Table(db);
                if (now == states[size_t(at)]) {
                    QCOMPARE(stack->index(), at); // nothing changed, no step
                    continue;
                }
                states.resize(size_t(at) + 1);
                states.push_back(std::move(now));
                at = stack->index();
                // The stack's bound drops the oldest steps.
                states.erase(states.begin(), states.end() - (stack->count() + 1));
            }
            QCOMPARE(stack->index(), at);
            QCOMPARE(Table(db), states[size_t(at)]);
            QCOMPARE(Records(*f->model()), LoadedRecords(db));
        }
        QVERIFY(undos > 30);
        QVERIFY(m_p->boxes.shown.size() > 10); // the delete questions
    }

    // The table refuses the undo half-way: a box, nothing written, the step
    // still there to try again.
    void refusedUndoKeepsTheStep() {
        TzvTasksFrame* f = open();
        m_p->select({m_p->row(0)});
        f->Action_TaskDelete->trigger();
        const QStringList deleted = Table(m_folder->path());
        {
            Database db;
            db.open(m_folder->path());
            db.exec("create trigger full before insert on tasks when new.tid='{A3}' begin "
                    "select raise(abort, 'database or disk is full'); end");
        }
        f->Action_Undo->trigger();
        QTRY_COMPARE(m_p->boxes.shown.size(), 2);
        QVERIFY(m_p->boxes.shown.last().text.contains("disk is full"));
        QCOMPARE(Table(m_folder->path()), deleted);
        QCOMPARE(test::Outline(*f->model()), QStringLiteral("b c"));
        QCOMPARE(f->Action_Undo->text(), QStringLiteral("&Undo Delete"));
        QVERIFY(!f->Action_Redo->isEnabled());
    }

    // The sync writes the server's changes between a step and its undo:
    // the undo keeps them, adds no second row, and the tree shows the table.
    void undoAfterChangesFromOutside() {
        TzvTasksFrame* f = open();
        Database db;
        db.open(m_folder->path());
        m_p->select({m_p->row(1)}); // b
        f->Action_TaskComplete->trigger();
        db.exec("update tasks set content='b from the phone' where tid='{B}'");
        m_p->select({m_p->row(2)}); // c
        f->Action_TaskDelete->trigger();
        db.exec("insert into tasks (tid, pid, content) values ('{C}', 'root', 'c from the phone')");
        f->TakeSyncedChanges();
        QTest::keyClick(m_p->tree(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(m_p->tree(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Records(*f->model()), LoadedRecords(db));
        QCOMPARE(test::Outline(*f->model()), QStringLiteral("a's task(a1,a2,a3) b from the phone "
                                                            "c from the phone"));
        QCOMPARE(Table(db).filter("'{C}'").size(), 1);
        QTest::keyClick(m_p->tree(), Qt::Key_Y, Qt::ControlModifier);
        QTest::keyClick(m_p->tree(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Records(*f->model()), LoadedRecords(db));
        QCOMPARE(Table(db).filter("'{C}'").size(), 0);
    }

    void deleteByKeyComesBackWithCtrlZ() {
        TzvTasksFrame* f = open();
        const QStringList before = Table(m_folder->path());
        m_p->select({m_p->row(0)});
        QTest::keyClick(m_p->tree(), Qt::Key_Delete);
        QCOMPARE(test::Outline(*f->model()), QStringLiteral("b c"));
        QTest::keyClick(m_p->tree(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Table(m_folder->path()), before);
        QCOMPARE(test::Outline(*f->model()), QStringLiteral("a's task(a1,a2,a3) b c"));
        QVERIFY(m_p->tree()->isExpanded(m_p->row(0)));
        QCOMPARE(f->ZvStatusBar1->panelText(), QStringLiteral("4 tasks restored"));
        QTest::keyClick(m_p->tree(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(test::Outline(*f->model()), QStringLiteral("b c"));
        const QStringList deleted = Table(m_folder->path());
        QCOMPARE(deleted.size(), 2);
        QTest::keyClick(m_p->tree(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(m_p->tree(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Table(m_folder->path()), deleted);

        // In the in-place editor Ctrl+Z takes back typing, not a step.
        m_p->select({m_p->row(0)});
        f->Action_TaskEdit->trigger();
        QPlainTextEdit* editor = m_p->editor();
        QVERIFY(!f->Action_Undo->isEnabled() && !f->Action_Redo->isEnabled());
        QTest::keyClicks(editor, "x");
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor->toPlainText(), QStringLiteral("b"));
        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_VERIFY(f->Action_Undo->isEnabled());
        // A reload (start, restore, import) leaves nothing to take back.
        f->ReloadTasks();
        QVERIFY(!f->Action_Undo->isEnabled() && !f->Action_Redo->isEnabled());
    }
};

QTEST_MAIN(TestUndo)
#include "test_undo.moc"
