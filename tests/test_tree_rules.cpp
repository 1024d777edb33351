#include "TestSupport.h"
#include "core/TaskRules.h"
#include "core/TaskTreeModel.h"

#include <QAbstractItemModelTester>
#include <QtTest>

namespace {

// "A(a1,a2) B" style outline of what the model offers the view.

TaskNode* find(const TaskTreeModel& m, const QString& content) {
    TaskNode* hit = nullptr;
    m.forEachNode([&](TaskNode* n) {
        if (n->info.content == content)
            hit = n;
    });
    return hit;
}

} // namespace

class TestTreeRules : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::FixEnvironment(); }

    void loadsTwoLevelsInTableOrder() {
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        using test::Task;
        // A sub-task stored before its parent, an orphan, a grandchild, a
        // row naming itself as parent, a second task with a taken tid, and
        // sub-tasks of two tasks taking turns.
        test::InsertTask(db, Task("{B1}", "{B}", "b1"));
        test::InsertTask(db, Task("{A}", "root", "A", false, true));
        test::InsertTask(db, Task("{B}", "root", "B", true));
        test::InsertTask(db, Task("{A1}", "{A}", "a1", true, true));
        test::InsertTask(db, Task("{X}", "{gone}", "orphan"));
        test::InsertTask(db, Task("{A1x}", "{A1}", "grandchild"));
        test::InsertTask(db, Task("{S}", "{S}", "self"));
        test::InsertTask(db, Task("{A2}", "{A}", "a2"));
        test::InsertTask(db, Task("{C}", "root", ""));
        test::InsertTask(db, Task("{A}", "root", "A again"));
        test::InsertTask(db, Task("{A3}", "{A}", "a3"));
        test::InsertTask(db, Task("{B2}", "{B}", "b2"));
        test::InsertTask(db, Task("{A4}", "{A}", "a4"));

        TaskTreeModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        LoadTaskTree(db, model);
        QCOMPARE(test::Outline(model), QStringLiteral("A(a1,a2,a3,a4) B(b1,b2)  A again"));
        QCOMPARE(model.totalCount(), 10);
        QCOMPARE(CountTasks(db), 13); // the table keeps every row
        QCOMPARE(find(model, "a4")->info.pid, QStringLiteral("{A}"));
        const TaskNode* a = find(model, "A");
        QVERIFY(a->info.expandFlag);
        QVERIFY(!find(model, "a1")->info.expandFlag); // sub-tasks have none
        QVERIFY(find(model, "a1")->info.checkFlag);
        QCOMPARE(find(model, "a2")->position(), 1);
        QCOMPARE(model.index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QCOMPARE(model.index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QVERIFY(model.flags(model.index(0, 0, model.index(0, 0))) & Qt::ItemNeverHasChildren);
    }

    void reloadReplacesEverything() {
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        test::InsertTask(db, test::Task("{A}", "root", "A"));
        TaskTreeModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        LoadTaskTree(db, model);
        test::InsertTask(db, test::Task("{B}", "root", "B"));
        LoadTaskTree(db, model);
        QCOMPARE(test::Outline(model), QStringLiteral("A B"));
    }

    void sortIsStableAndFoldsOnlyAToZ() {
        TaskTreeModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.beginLoad();
        for (const char* s : {"milk", "Milk", "apple", "MILK", "_under", "Zebra", "éclair"})
            model.loadTopLevel(test::Task(QString(), "root", QString::fromUtf8(s)));
        TaskNode* parent = model.loadTopLevel(test::Task("{P}", "root", "parent"));
        for (const char* s : {"b", "A", "a", "B"})
            model.loadChild(parent, test::Task(QString(), "{P}", QLatin1String(s)));
        model.endLoad();

        // '_' (95) sorts after the folded capitals, 'é' after everything ASCII.
        const QString ascending =
            QStringLiteral("apple milk Milk MILK parent(A,a,b,B) Zebra _under éclair");
        const QString descending =
            QStringLiteral("éclair _under Zebra parent(b,B,A,a) milk Milk MILK apple");
        SortTaskTree(model, true);
        QCOMPARE(test::Outline(model), ascending);
        for (int i = 0; i < 3; ++i) {
            SortTaskTree(model, false);
            QCOMPARE(test::Outline(model), descending);
            SortTaskTree(model, true);
            QCOMPARE(test::Outline(model), ascending);
        }
        QCOMPARE(find(model, "Zebra")->position(), 5);
    }

    // Toggling the direction turns a sorted list round without a full sort,
    // and a list untouched since the last sort without reading its texts;
    // the result must be what a stable sort gives, ties, edits, moves and
    // unsorted rows included.
    void sortMatchesAStableSortAcrossToggles() {
        TaskTreeModel model;
        QRandomGenerator rng(11);
        const auto word = [&] {
            static const char* parts[] = {"a", "A", "b", "ab", "Ab", "", "_", "ba"};
            return QString::fromLatin1(parts[rng.bounded(8)]) + parts[rng.bounded(8)];
        };
        model.beginLoad();
        for (int i = 0; i < 40; ++i) {
            TaskNode* top = model.loadTopLevel(test::Task(QString::number(i), "root", word()));
            for (int j = 0; j < int(rng.bounded(5)); ++j)
                model.loadChild(top, test::Task(QString(), QString::number(i), word()));
        }
        model.endLoad();
        const auto expected = [&](bool ascending) {
            // The current order of each sibling list, stably sorted.
            QStringList ids;
            const auto sorted = [&](std::vector<TaskNode*> list) {
                std::stable_sort(list.begin(), list.end(), [&](TaskNode* a, TaskNode* b) {
                    const int c = CompareTextAZ(a->info.content, b->info.content);
                    return ascending ? c < 0 : c > 0;
                });
                return list;
            };
            std::vector<TaskNode*> top;
            for (const auto& t : model.topLevel())
                top.push_back(t.get());
            for (TaskNode* t : sorted(top)) {
                std::vector<TaskNode*> children;
                for (const auto& c : t->children())
                    children.push_back(c.get());
                QString line = t->info.content + u'(';
                for (TaskNode* c : sorted(children))
                    line += QString::number(quintptr(c)) + u',';
                ids << QString::number(quintptr(t)) + line;
            }
            return ids;
        };
        const auto actual = [&] {
            QStringList ids;
            for (const auto& t : model.topLevel()) {
                QString line = t->info.content + u'(';
                for (const auto& c : t->children())
                    line += QString::number(quintptr(c.get())) + u',';
                ids << QString::number(quintptr(t.get())) + line;
            }
            return ids;
        };
        const auto anyNode = [&] {
            const auto& all = model.flatNodes();
            return all[rng.bounded(int(all.size()))];
        };
        const auto anyTop = [&] {
            return model.topLevel()[rng.bounded(int(model.topLevel().size()))].get();
        };
        for (int round = 0; round < 60; ++round) {
            const bool ascending = rng.bounded(3) != 0 ? round % 2 == 0 : round % 3 == 0;
            const QStringList want = expected(ascending);
            SortTaskTree(model, ascending);
            QCOMPARE(actual(), want);
            switch (rng.bounded(7)) {
            case 0: // a row added at the end leaves its list out of order
                model.appendTopLevel(test::Task("new", "root", word()));
                break;
            case 1:
                model.appendChild(anyTop(), test::Task(QString(), "p", word()));
                break;
            case 2: { // an edit in place
                TaskNode* n = anyNode();
                n->info.content = word();
                model.nodeChanged(n);
                break;
            }
            case 3:
                if (model.totalCount() > 30)
                    model.removeNode(anyNode());
                break;
            case 4: { // a sub-task to another parent, or a task under one
                TaskNode* n = anyNode();
                TaskNode* to = anyTop();
                if (to != n && !(n->isTopLevel() && !n->children().empty()))
                    model.moveNode(n, to, int(rng.bounded(3)));
                break;
            }
            default: // untouched: the next toggle turns lists round
                break;
            }
        }
    }

    // Removing or moving many rows at once leaves the tree a row-by-row
    // change would, beyond the size where one reset takes over.
    void bulkChangesMatchRowByRow_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("rows");
        for (const char* c :
             {"remove tasks", "remove sub-tasks", "move first", "move last", "sub-tasks to top"})
            for (int rows : {3, 150})
                QTest::addRow("%s, %d", c, rows) << QString(c) << rows;
    }
    void bulkChangesMatchRowByRow() {
        QFETCH(QString, change);
        QFETCH(int, rows);
        TaskTreeModel bulk, single;
        QAbstractItemModelTester tester(&bulk,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (TaskTreeModel* m : {&bulk, &single}) {
            m->beginLoad();
            for (int t = 0; t < 400; ++t) {
                TaskNode* top = m->loadTopLevel(
                    test::Task(QString::number(t), "root", QStringLiteral("t%1").arg(t)));
                for (int c = 0; c < (t == 3 ? 320 : t % 3 == 0 ? 4 : 0); ++c)
                    m->loadChild(top, test::Task(QString(), QString::number(t),
                                                 QStringLiteral("s%1.%2").arg(t).arg(c)));
            }
            m->endLoad();
        }
        // Every other row of a list, from the second on; the target is the
        // first task.
        const auto pick = [&](TaskTreeModel& m) {
            std::vector<TaskNode*> nodes;
            const bool subs = change.contains("sub-tasks");
            const auto& list = subs ? m.topLevel()[3]->children() : m.topLevel();
            for (int i = 0; int(nodes.size()) < rows; i += 2)
                nodes.push_back(list[size_t(1 + i)].get());
            return nodes;
        };
        TaskNode* targetB = bulk.topLevel()[0].get();
        TaskNode* targetS = single.topLevel()[0].get();
        const bool first = change != "move last";
        const bool toTop = change == "sub-tasks to top";
        if (change.startsWith("remove")) {
            bulk.removeNodes(pick(bulk));
            for (TaskNode* n : pick(single))
                single.removeNode(n);
        } else {
            bulk.moveNodes(pick(bulk), toTop ? nullptr : targetB, first);
            for (TaskNode* n : pick(single))
                single.moveNode(n, toTop ? nullptr : targetS, first ? 0 : -1);
        }
        QCOMPARE(test::Outline(bulk), test::Outline(single));
        QCOMPARE(bulk.totalCount(), single.totalCount());
    }

    void compareText_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("case only") << "abc"
                                   << "ABC" << 0;
        QTest::newRow("prefix") << "ab"
                                << "abc" << -1;
        QTest::newRow("underscore after letters") << "_"
                                                  << "z" << 1;
        QTest::newRow("accents not folded") << "é"
                                            << "É" << 1;
        QTest::newRow("empty") << ""
                               << "a" << -1;
    }
    void compareText() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        const int c = CompareTextAZ(a, b);
        QCOMPARE(c < 0 ? -1 : (c > 0 ? 1 : 0), sign);
    }

    void filterKeepsParentsOfVisibleSubTasks() {
        TaskTreeModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.beginLoad();
        TaskNode* done = model.loadTopLevel(test::Task("{D}", "root", "done parent", true));
        model.loadChild(done, test::Task("{D1}", "{D}", "open child"));
        model.loadChild(done, test::Task("{D2}", "{D}", "closed child", true));
        model.loadTopLevel(test::Task("{O}", "root", "open Milk"));
        TaskNode* shop = model.loadTopLevel(test::Task("{S}", "root", "shop"));
        model.loadChild(shop, test::Task("{S1}", "{S}", "buy milk\r\nand bread"));
        model.endLoad();

        auto expand = ApplyFilterRules(model, ViewIncomplete, false, QString());
        QVERIFY(model.refreshVisibility());
        QCOMPARE(test::Outline(model),
                 QStringLiteral("done parent(open child) open Milk shop(buy milk\r\nand bread)"));
        QVERIFY(expand.empty());

        expand = ApplyFilterRules(model, ViewComplete, false, QString());
        model.refreshVisibility();
        QCOMPARE(test::Outline(model), QStringLiteral("done parent(closed child)"));

        // Case-sensitive, across line breaks; a match in a sub-task asks for
        // its parent to be expanded.
        expand = ApplyFilterRules(model, ViewAll, true, QStringLiteral("milk\r\nand"));
        model.refreshVisibility();
        QCOMPARE(test::Outline(model), QStringLiteral("shop(buy milk\r\nand bread)"));
        QCOMPARE(expand, std::vector<TaskNode*>{shop});

        expand = ApplyFilterRules(model, ViewAll, true, QStringLiteral("Milk"));
        model.refreshVisibility();
        QCOMPARE(test::Outline(model), QStringLiteral("open Milk"));
        QVERIFY(expand.empty());

        // An inactive search filters nothing, whatever its text.
        ApplyFilterRules(model, ViewAll, false, QStringLiteral("  Search..."));
        QVERIFY(model.refreshVisibility());
        QCOMPARE(model.totalCount(), 6);
        QCOMPARE(test::Outline(model).count(u','), 1);
        QVERIFY(!model.refreshVisibility()); // nothing changed: no reset
    }

    // Typing narrows or widens the last search and only the rows whose
    // answer can change are tested again; edits, new rows and unrelated
    // texts in between must still give the answer a full test gives.
    void searchHitsFollowTypingAndEdits() {
        TaskTreeModel model;
        model.beginLoad();
        const QString texts[] = {u"abba"_qs, u"bab"_qs, u"aab"_qs, u"b"_qs, u"\u00e9ab"_qs};
        int k = 0;
        for (int i = 0; i < 4; ++i) {
            TaskNode* top =
                model.loadTopLevel(test::Task(QString::number(i), "root", texts[k++ % 5]));
            for (int j = 0; j < 3; ++j)
                model.loadChild(top, test::Task(QString::number(i * 10 + j), QString::number(i),
                                                texts[k++ % 5]));
        }
        model.endLoad();
        const auto check = [&](const QString& text) {
            model.matchSearch(text);
            for (TaskNode* n : model.flatNodes())
                if (n->searchHit() != n->info.content.contains(text))
                    return QStringLiteral("%1 in %2").arg(text, n->info.content);
            return QString();
        };
        const QStringList typing = {u"a"_qs,      u"ab"_qs,      u"abb"_qs, u"abba"_qs,
                                    u"abb"_qs,    u"ab"_qs,      u"b"_qs,   u"ba"_qs,
                                    u"\u00e9"_qs, u"\u00e9a"_qs, u"a"_qs};
        for (const QString& t : typing)
            QCOMPARE(check(t), QString());

        // Rows change between two keystrokes of the same word.
        TaskNode* first = model.topLevel().front().get();
        QCOMPARE(check(u"ab"_qs), QString());
        first->info.content = u"xyz"_qs;
        model.nodeChanged(first);
        QCOMPARE(check(u"abb"_qs), QString()); // narrower: the edited row is tested again
        first->info.content = u"abbey"_qs;
        model.nodeChanged(first);
        QCOMPARE(check(u"abb"_qs), QString()); // the same text
        QCOMPARE(check(u"ab"_qs), QString());  // wider
        model.appendChild(first, test::Task("new", "0", "cab"));
        QCOMPARE(check(u"abb"_qs), QString());
        QCOMPARE(check(u"ab"_qs), QString());
        model.moveNode(model.topLevel().back().get(), first, 0);
        QCOMPARE(check(u"zz"_qs), QString());
        QCOMPARE(check(u"b"_qs), QString());
    }

    void singleChangesAreAnnounced() {
        TaskTreeModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        TaskNode* a = model.appendTopLevel(test::Task("{A}", "root", "A"));
        TaskNode* b = model.appendTopLevel(test::Task("{B}", "root", "B"));
        model.appendChild(a, test::Task("{A1}", "{A}", "a1"));
        TaskNode* a2 = model.appendChild(a, test::Task("{A2}", "{A}", "a2"));
        QCOMPARE(test::Outline(model), QStringLiteral("A(a1,a2) B"));
        model.removeNode(model.topLevel()[0]->children()[0].get());
        QCOMPARE(a2->position(), 0);
        model.removeNode(a);
        QCOMPARE(test::Outline(model), QStringLiteral("B"));
        QCOMPARE(b->position(), 0);
        QCOMPARE(model.indexOf(b), model.index(0, 0));
    }

    void checkBoxReportsTheNewState() {
        TaskTreeModel model;
        TaskNode* a = model.appendTopLevel(test::Task("{A}", "root", "A"));
        QSignalSpy spy(&model, &TaskTreeModel::checkRequested);
        QVERIFY(model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(!a->info.checkFlag); // until it is stored
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.last().at(1).toBool(), true);
        model.setChecked(a, true);
        QVERIFY(!model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole)); // no change
        QCOMPARE(spy.count(), 1);
    }

    void rowText_data() {
        QTest::addColumn<bool>("list");
        QTest::addColumn<bool>("date");
        QTest::addColumn<bool>("hot");
        QTest::addColumn<QString>("thirdText"); // the third top-level task
        QTest::addColumn<QString>("subText");   // its second sub-task
        QTest::addColumn<QString>("empty");
        QTest::newRow("plain") << false << false << false << "two\r\nlines"
                               << "done"
                               << "Input content here";
        QTest::newRow("list") << true << false << false << "3. two  lines"
                              << "(2)done"
                              << "Input content here";
        QTest::newRow("list, hot") << true << false << true << "3. two\r\nlines"
                                   << "(2)done"
                                   << "Input content here";
        QTest::newRow("date")
            << false << true << false
            << "two\r\nlines -- Created: 1/5/24  Due: 2/1/24  Alarm: 2/3/24 9:05:00 AM"
            << "done -- Created: 1/5/24  Completed: 3/3/24"
            << "Input content here";
        QTest::newRow("list and date")
            << true << true << false
            << "3. two  lines -- Created: 1/5/24  Due: 2/1/24  Alarm: 2/3/24 9:05:00 AM"
            << "(2)done -- Created: 1/5/24  Completed: 3/3/24"
            << "Input content here";
    }
    void rowText() {
        QFETCH(bool, list);
        QFETCH(bool, date);
        QFETCH(bool, hot);
        QFETCH(QString, thirdText);
        QFETCH(QString, subText);
        QFETCH(QString, empty);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const TDateTime created = ToDateTime(QDate(2024, 1, 5), QTime(13, 0));
        TaskTreeModel model;
        model.beginLoad();
        model.loadTopLevel(test::Task("{1}", "root", "first")); // numbers count hidden rows
        model.loadTopLevel(test::Task("{2}", "root", ""));
        TTaskInfo t = test::Task("{3}", "root", "two\r\nlines");
        t.createTime = created;
        t.dueFlag = t.alarmFlag = true;
        t.dueTime = ToDateTime(QDate(2024, 2, 1), QTime(0, 0));   // midnight: a date
        t.alarmTime = ToDateTime(QDate(2024, 2, 3), QTime(9, 5)); // with its time
        TaskNode* third = model.loadTopLevel(t);
        model.loadChild(third, test::Task("{3a}", "{3}", "sub"));
        TTaskInfo d = test::Task("{3b}", "{3}", "done", true);
        d.createTime = created;
        d.checkTime = ToDateTime(QDate(2024, 3, 3), QTime(0, 0));
        d.alarmFlag = true; // a complete task shows no alarm
        TaskNode* sub = model.loadChild(third, d);
        model.endLoad();
        model.topLevel()[0]->setHidden(true);
        model.refreshVisibility();
        QCOMPARE(RowTextFor(*third, list, date, false, hot), thirdText);
        QCOMPARE(RowTextFor(*sub, list, date, false, false), subText);
        QCOMPARE(RowTextFor(*model.topLevel()[1], list, date, false, false), empty);
        // The row being edited always shows its raw text.
        QCOMPARE(RowTextFor(*third, list, date, true, false), QStringLiteral("two\r\nlines"));
        QCOMPARE(RowTextFor(*model.topLevel()[1], list, date, true, false), QString());
        QLocale::setDefault(QLocale::c());
    }

    // Icon, font and status text by the task's state, now 2024-06-10 12:00.
    void rowLook_data() {
        QTest::addColumn<bool>("done");
        QTest::addColumn<bool>("alarm");
        QTest::addColumn<int>("dueOffsetMs"); // 0: no due date
        QTest::addColumn<QString>("content");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("look"); // b(old) i(talic) g(rey) c(olour)
        QTest::addColumn<QString>("status");
        const QString created = "6/1/24 8:30:00 AM created";
        QTest::newRow("plain") << false << false << 0 << "x" << false << -1 << "c" << created;
        QTest::newRow("complete with reminder") << true << true << 0 << "x" << false << -1 << "ig"
                                                << "6/9/24 completed";
        QTest::newRow("complete, selected") << true << false << 0 << "x" << true << -1 << "i"
                                            << "6/9/24 completed";
        QTest::newRow("overdue with reminder")
            << false << true << -86400000 << "x" << false << 22 << "bc"
            << "Due date: 6/9/24  Reminder time: 6/11/24 7:00:00 AM";
        QTest::newRow("due a millisecond ago") << false << false << -1 << "x" << false << 23 << "bc"
                                               << "Due date: 6/10/24  ";
        QTest::newRow("due now") << false << false << 1 << "x" << false << 24 << "c"
                                 << "Due date: 6/10/24  ";
        QTest::newRow("empty text") << false << false << 0 << "" << false << -1 << "ig" << created;
    }
    void rowLook() {
        QFETCH(bool, done);
        QFETCH(bool, alarm);
        QFETCH(int, dueOffsetMs);
        QFETCH(QString, content);
        QFETCH(bool, selected);
        QFETCH(int, icon);
        QFETCH(QString, look);
        QFETCH(QString, status);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QDateTime nowDt(QDate(2024, 6, 10), QTime(12, 0));
        const TDateTime now = ToDateTime(nowDt);
        TTaskInfo t = test::Task("{T}", "root", content, done);
        t.textColor = 0x0000FF;
        t.createTime = ToDateTime(QDate(2024, 6, 1), QTime(8, 30));
        t.checkTime = ToDateTime(QDate(2024, 6, 9), QTime(0, 0));
        t.alarmFlag = alarm;
        t.alarmTime = ToDateTime(QDate(2024, 6, 11), QTime(7, 0));
        t.dueFlag = dueOffsetMs != 0;
        t.dueTime = ToDateTime(nowDt.addMSecs(dueOffsetMs == 1 ? 0 : dueOffsetMs));
        QCOMPARE(RowIcon(t, now), icon);
        const RowLook l = RowLookFor(t, now, false, selected);
        QString got;
        got += l.bold ? "b" : "";
        got += l.italic ? "i" : "";
        got += l.grey ? "g" : "";
        got += l.color != 0 ? "c" : "";
        QCOMPARE(got, look);
        // The row being edited keeps only the bold of an overdue task.
        const RowLook e = RowLookFor(t, now, true, selected);
        QVERIFY(!e.italic && !e.grey && e.color == 0 && e.bold == l.bold);
        QCOMPARE(StatusTextFor(t), status);
        QLocale::setDefault(QLocale::c());
    }

    void unsavedRowHasNoCreatedText() {
        QCOMPARE(StatusTextFor(test::Task("", "root", "")), QString());
    }

    void trayHintText() {
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        QCOMPARE(BuildTrayHint(db, 20), QStringLiteral("Incomplete Tasks:\rNone"));
        test::InsertTask(db, test::Task("{1}", "root", "done", true));
        test::InsertTask(db, test::Task("{2}", "root", "b two\r\nlines"));
        test::InsertTask(db, test::Task("{3}", "{2}", "a sub-task exactly twenty")); // 25 chars
        test::InsertTask(db, test::Task("{4}", "root", "c it's"));
        QCOMPARE(
            BuildTrayHint(db, 20),
            QStringLiteral(
                "Incomplete Tasks:\r(1) a sub-task exactly t...\r(2) b two  lines\r(3) c it's"));
        test::InsertTask(db, test::Task("{5}", "root", "d"));
        QCOMPARE(BuildTrayHint(db, 25),
                 QStringLiteral("Incomplete Tasks:\r(1) a sub-task exactly twenty\r(2) b two  lines"
                                "\r(3) c it's\r(4) d\r ..."));
        test::InsertTask(db, test::Task("{6}", "root", "e"));
        QVERIFY(BuildTrayHint(db, 25).endsWith(QLatin1String("(4) d\r ...")));
    }
};

QTEST_GUILESS_MAIN(TestTreeRules)
#include "test_tree_rules.moc"
