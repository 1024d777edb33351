#include "TestSupport.h"
#include "core/TaskRules.h"
#include "core/TaskStore.h"
#include "core/TaskTreeModel.h"

#include <QAbstractItemModelTester>
#include <QRegularExpression>
#include <QtTest>
#include <functional>

namespace {

// Every column of a row, as text, so a write's reach shows as a difference.
QMap<QString, QString> RowOf(Database& db, const QString& tid) {
    Query q(db);
    OpenQuery(q, QStringLiteral("select * from tasks where tid=") + QuotedStr(tid));
    QMap<QString, QString> row;
    if (q.eof())
        return row;
    for (int i = 0; i < q.fieldCount(); ++i)
        row.insert(q.fieldName(i), q.isNull(i) ? QStringLiteral("<null>") : q.text(i));
    return row;
}

int RowCount(Database& db) {
    Query q(db);
    OpenQuery(q, QStringLiteral("select count(*) as cnt from tasks"));
    return q.integer(QStringLiteral("cnt"));
}

TTaskInfo FullTask(const QString& tid, const QString& pid) {
    TTaskInfo t = test::Task(tid, pid, QStringLiteral("text of ") + tid, true, true);
    t.alarmFlag = t.dueFlag = true;
    t.textColor = 0x112233;
    t.backgroundColor = 0x445566;
    t.createTime = 45000.25;
    t.editTime = 45001.5;
    t.checkTime = 45002.75;
    t.alarmTime = 45003.125;
    t.dueTime = 45004.0625;
    return t;
}

using Write = std::function<void(Query&, const QString& tid)>;

} // namespace

Q_DECLARE_METATYPE(Write)

class TestTaskStore : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::FixEnvironment(); }

    // Each write changes its own columns of its own row and nothing else,
    // whatever quotes or keywords the identifiers hold.
    void writeTouchesOnlyItsColumnsOfItsRow_data() {
        QTest::addColumn<QString>("tid");
        QTest::addColumn<Write>("write");
        QTest::addColumn<QStringList>("changed");
        const QStringList tids = {QStringLiteral("{A-1}"), QStringLiteral("it's"),
                                  QStringLiteral("True")};
        for (const QString& tid : tids) {
            const auto row = [&](const char* what) -> QTestData& {
                return QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(what, tid)));
            };
            row("content") << tid << Write([](Query& q, const QString& t) {
                TaskStore::WriteContent(q, t, QStringLiteral("new 'one'"), 46000.5);
            }) << QStringList{QStringLiteral("content"), QStringLiteral("editTime")};
            row("expand") << tid << Write([](Query& q, const QString& t) {
                TaskStore::WriteExpandFlag(q, t, false);
            }) << QStringList{QStringLiteral("expandFlag")};
            row("alarm") << tid << Write([](Query& q, const QString& t) {
                TaskStore::WriteFlagAndTime(q, QStringList{t}, QStringLiteral("alarmFlag"), false,
                                            QStringLiteral("alarmTime"), 46001.0);
            }) << QStringList{QStringLiteral("alarmFlag"), QStringLiteral("alarmTime")};
            row("check") << tid << Write([](Query& q, const QString& t) {
                TaskStore::WriteFlagAndTime(q, QStringList{t}, QStringLiteral("checkFlag"), false,
                                            QStringLiteral("checkTime"), 46002.0);
            }) << QStringList{QStringLiteral("checkFlag"), QStringLiteral("checkTime")};
            row("colours") << tid << Write([](Query& q, const QString& t) {
                TaskStore::WriteColors(q, QStringList{t}, -16777201, 0);
            }) << QStringList{QStringLiteral("textColor"), QStringLiteral("backgroundColor")};
            row("parent") << tid << Write([](Query& q, const QString& t) {
                TaskStore::WriteParent(q, QStringList{t}, QStringLiteral("o'parent"));
            }) << QStringList{QStringLiteral("pid")};
        }
    }
    void writeTouchesOnlyItsColumnsOfItsRow() {
        QFETCH(QString, tid);
        QFETCH(Write, write);
        QFETCH(QStringList, changed);
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        const QString other = tid + QStringLiteral("x");
        test::InsertTask(db, FullTask(tid, QStringLiteral("root")));
        test::InsertTask(db, FullTask(other, tid));
        const auto before = RowOf(db, tid);
        const auto otherBefore = RowOf(db, other);
        Query q(db);
        write(q, tid);
        const auto after = RowOf(db, tid);
        QCOMPARE(after.keys(), before.keys());
        for (const QString& column : before.keys())
            QVERIFY2((before[column] != after[column]) == changed.contains(column),
                     qPrintable(column + u' ' + before[column] + QStringLiteral(" -> ") +
                                after[column]));
        QCOMPARE(RowOf(db, other), otherBefore);
    }

    void writtenValuesReadBack() {
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        test::InsertTask(db, FullTask(QStringLiteral("{T}"), QStringLiteral("root")));
        Query q(db);
        TaskStore::WriteContent(q, QStringLiteral("{T}"), QStringLiteral("it's\r\ndone"), 46000.5);
        TaskStore::WriteColors(q, QStringList{"{T}"}, -1, 0x00FF00);
        TaskStore::WriteFlagAndTime(q, QStringList{"{T}"}, QStringLiteral("dueFlag"), false,
                                    QStringLiteral("dueTime"), 0);
        OpenQuery(q, QStringLiteral("select * from tasks where tid='{T}'"));
        QCOMPARE(q.text(QStringLiteral("content")), QStringLiteral("it's\r\ndone"));
        QCOMPARE(q.dateTime(QStringLiteral("editTime")), 46000.5);
        QCOMPARE(q.integer(QStringLiteral("textColor")), -1);
        QCOMPARE(q.integer(QStringLiteral("backgroundColor")), 0x00FF00);
        QVERIFY(!q.boolean(QStringLiteral("dueFlag")));
        QCOMPARE(q.dateTime(QStringLiteral("dueTime")), 0.0);
    }

    // A new task: a fresh identifier, the listed columns written, the rest
    // left to the table's defaults; it loads back as it was kept.
    void stampedTaskIsInsertedAndLoadsBack() {
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        TTaskInfo t = FullTask(QString(), QStringLiteral("root"));
        t.content = QStringLiteral("it's new");
        TaskStore::StampNewTask(t, 46100.75);
        QVERIFY(
            QRegularExpression(QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-"
                                              "[0-9A-F]{12}\\}$"))
                .match(t.tid)
                .hasMatch());
        QVERIFY(!t.checkFlag && !t.alarmFlag && !t.dueFlag);
        QCOMPARE(t.textColor, 0);
        QCOMPARE(t.backgroundColor, 0);
        QCOMPARE(t.createTime, 46100.75);
        QCOMPARE(t.editTime, 46100.75);
        TTaskInfo second;
        TaskStore::StampNewTask(second, 46100.75);
        QVERIFY(second.tid != t.tid);

        Query q(db);
        TaskStore::Insert(q, t);
        const auto row = RowOf(db, t.tid);
        QCOMPARE(row[QStringLiteral("content")], QStringLiteral("it's new"));
        QCOMPARE(row[QStringLiteral("pid")], QStringLiteral("root"));
        // Not written: the record's own expansion and times stay out.
        for (const char* column : {"expandFlag", "checkTime", "alarmTime", "dueTime"})
            QVERIFY2(row[QLatin1String(column)] == QStringLiteral("<null>") ||
                         row[QLatin1String(column)] == QStringLiteral("0"),
                     column);

        TaskTreeModel model;
        LoadTaskTree(db, model);
        QCOMPARE(model.topLevel().size(), size_t(1));
        const TTaskInfo& loaded = model.topLevel().front()->info;
        QCOMPARE(loaded.tid, t.tid);
        QCOMPARE(loaded.content, t.content);
        QCOMPARE(loaded.createTime, t.createTime);
        QCOMPARE(loaded.editTime, t.editTime);
        QVERIFY(!loaded.expandFlag);
        QCOMPARE(loaded.alarmTime, 0.0);
    }

    void deleteTakesTheTaskAndItsSubTasksOnly() {
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        using test::Task;
        test::InsertTask(db, Task("it's", "root", "A"));
        test::InsertTask(db, Task("{A1}", "it's", "a1"));
        test::InsertTask(db, Task("{A2}", "it's", "a2"));
        test::InsertTask(db, Task("{B}", "root", "B"));
        test::InsertTask(db, Task("{B1}", "{B}", "b1"));
        test::InsertTask(db, Task("it'", "root", "a prefix of the other tid"));
        Query q(db);
        TaskStore::Delete(q, QStringList{"it's"});
        QCOMPARE(RowCount(db), 3);
        QVERIFY(RowOf(db, QStringLiteral("{A1}")).isEmpty());
        QVERIFY(!RowOf(db, QStringLiteral("{B1}")).isEmpty());
        QVERIFY(!RowOf(db, QStringLiteral("it'")).isEmpty());
        TaskStore::Delete(q, QStringList{"{B1}"}); // a sub-task alone
        QCOMPARE(RowCount(db), 2);
    }

    // The Move To list and its count agree, for top-level and sub-tasks.
    void moveTargets() {
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        using test::Task;
        test::InsertTask(db, Task("{A}", "root", "A"));
        test::InsertTask(db, Task("{A1}", "{A}", "a1"));
        test::InsertTask(db, Task("{B}", "root", "B"));
        test::InsertTask(db, Task("{C}", "root", "C"));
        TaskTreeModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        LoadTaskTree(db, model);
        TaskNode* a = model.topLevel()[0].get();
        TaskNode* b = model.topLevel()[1].get();
        TaskNode* c = model.topLevel()[2].get();
        TaskNode* a1 = a->children()[0].get();

        QCOMPARE(MoveTargetsFor(model, b), (std::vector<TaskNode*>{a, c}));
        QCOMPARE(MoveTargetsFor(model, a1), (std::vector<TaskNode*>{nullptr, b, c}));
        for (TaskNode* n : {a, b, c, a1})
            QCOMPARE(MoveTargetCount(model, n), int(MoveTargetsFor(model, n).size()));

        QVERIFY(model.contains(a1));
        model.removeNode(a); // its sub-task goes with it
        QVERIFY(!model.contains(a1));
        QVERIFY(model.contains(b));
        QCOMPARE(MoveTargetsFor(model, b), (std::vector<TaskNode*>{c}));
        model.removeNode(c);
        QCOMPARE(MoveTargetCount(model, b), 0);
        QVERIFY(MoveTargetsFor(model, b).empty());
    }
};

QTEST_GUILESS_MAIN(TestTaskStore)
#include "test_task_store.moc"
