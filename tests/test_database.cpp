#include "TestSupport.h"
#include "platform/Database.h"

#include <QtTest>
#include <sqlite3.h>

class TestDatabase : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::FixEnvironment(); }

    void quotedTextIsStoredAndFoundLiterally_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("apostrophe") << QStringLiteral("it's");
        QTest::newRow("injection") << QStringLiteral("'; drop table tasks; --");
        QTest::newRow("double quotes") << QStringLiteral("say \"hi\"");
        QTest::newRow("line breaks") << QStringLiteral("one\r\ntwo\r\n");
        QTest::newRow("non-ascii") << QStringLiteral("café 日本 отчёт");
        QTest::newRow("words True False") << QStringLiteral("True or False");
    }
    void quotedTextIsStoredAndFoundLiterally() {
        QFETCH(QString, text);
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        // The text goes in as id, parent and content; it is found by each.
        test::InsertTask(db, test::Task(text, text, text));
        Query q(db);
        OpenQuery(q, QStringLiteral("select * from tasks where tid=") + QuotedStr(text));
        QVERIFY(!q.eof());
        QCOMPARE(q.text(QStringLiteral("content")), text);
        OpenQuery(q,
                  QStringLiteral("select count(*) as cnt from tasks where pid=") + QuotedStr(text));
        QCOMPARE(q.integer(QStringLiteral("cnt")), 1);
        ExecQuery(q,
                  QStringLiteral("update tasks set expandFlag=True where tid=") + QuotedStr(text));
        OpenQuery(q, QStringLiteral("select * from tasks where tid=") + QuotedStr(text));
        QVERIFY(q.boolean(QStringLiteral("expandFlag")));
        ExecQuery(q, QStringLiteral("delete from tasks where tid=") + QuotedStr(text));
        OpenQuery(q, QStringLiteral("select count(*) as cnt from tasks"));
        QCOMPARE(q.integer(QStringLiteral("cnt")), 0);
    }

    void emptyColumnsReadAsFalseZeroAndZeroDate() {
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        Query q(db);
        OpenQuery(q, QStringLiteral("select * from tasks where 1=0"));
        q.append();
        q.setText(QStringLiteral("tid"), QStringLiteral("{A}"));
        q.post();
        OpenQuery(q, QStringLiteral("select * from tasks where tid='{A}'"));
        QVERIFY(!q.eof());
        QCOMPARE(q.boolean(QStringLiteral("checkFlag")), false);
        QCOMPARE(q.integer(QStringLiteral("textColor")), 0);
        QCOMPARE(q.dateTime(QStringLiteral("checkTime")), 0.0);
        QCOMPARE(q.text(QStringLiteral("content")), QString());
        QCOMPARE(q.displayText(QStringLiteral("dueFlag"), true), QString());
    }

    void dateTimesRoundTripExactly_data() {
        QTest::addColumn<double>("value");
        QTest::newRow("zero") << 0.0;
        QTest::newRow("midnight") << 45000.0;
        QTest::newRow("one ms") << 45000.0 + 1.0 / 86400000.0;
        QTest::newRow("third") << 45123.0 + 1.0 / 3.0;
        QTest::newRow("before 1899") << -700.25;
    }
    void dateTimesRoundTripExactly() {
        QFETCH(double, value);
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        TTaskInfo t = test::Task(QStringLiteral("{D}"), QStringLiteral("root"), QString());
        t.createTime = value == 0 ? 1 : value;
        t.checkTime = value;
        test::InsertTask(db, t);
        Query q(db);
        OpenQuery(q, QStringLiteral("select * from tasks"));
        QCOMPARE(q.dateTime(QStringLiteral("checkTime")), value);
        QCOMPARE(q.dateTime(QStringLiteral("createTime")), t.createTime);
    }

    void editChangesOnlyTheColumnsSet() {
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        test::InsertTask(
            db, test::Task(QStringLiteral("{1}"), QStringLiteral("root"), QStringLiteral("first")));
        test::InsertTask(db, test::Task(QStringLiteral("{2}"), QStringLiteral("root"),
                                        QStringLiteral("second")));
        Query q(db);
        OpenQuery(q, QStringLiteral("select * from tasks where tid='{2}'"));
        q.edit();
        q.setText(QStringLiteral("CONTENT"), QStringLiteral("changed")); // names ignore case
        q.setBool(QStringLiteral("checkFlag"), true);
        q.post();
        OpenQuery(q, QStringLiteral("select * from tasks"));
        QCOMPARE(q.text(QStringLiteral("content")), QStringLiteral("first"));
        QCOMPARE(q.boolean(QStringLiteral("checkFlag")), false);
        q.next();
        QCOMPARE(q.text(QStringLiteral("content")), QStringLiteral("changed"));
        QCOMPARE(q.boolean(QStringLiteral("checkFlag")), true);
        QCOMPARE(q.text(QStringLiteral("pid")), QStringLiteral("root"));
    }

    void twoResultSetsAtOnce() {
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        for (int i = 0; i < 3; ++i) {
            const QString tid = QStringLiteral("{T%1}").arg(i);
            test::InsertTask(db, test::Task(tid, QStringLiteral("root"), tid));
            for (int k = 0; k <= i; ++k)
                test::InsertTask(db, test::Task(tid + QString::number(k), tid, QString()));
        }
        Query outer(db), inner(db);
        QStringList seen;
        for (OpenQuery(outer, QStringLiteral("select * from tasks where pid='root'")); !outer.eof();
             outer.next()) {
            int children = 0;
            for (OpenQuery(inner, QStringLiteral("select * from tasks where pid=") +
                                      QuotedStr(outer.text(QStringLiteral("tid"))));
                 !inner.eof(); inner.next())
                ++children;
            seen << QStringLiteral("%1:%2").arg(outer.text(QStringLiteral("tid"))).arg(children);
        }
        QCOMPARE(seen, QStringList({"{T0}:1", "{T1}:2", "{T2}:3"}));
    }

    void faultsAreReportedNotIgnored() {
        test::ProgramFolder folder;
        Database db;
        Query q(db);
        // No connection yet.
        QVERIFY_THROWS_EXCEPTION(DbError, OpenQuery(q, QStringLiteral("select * from tasks")));
        db.open(folder.path());
        QVERIFY_THROWS_EXCEPTION(DbError, OpenQuery(q, QStringLiteral("select * from nothing")));
        OpenQuery(q, QStringLiteral("select * from tasks where 1=0"));
        QVERIFY_THROWS_EXCEPTION(DbError, q.edit()); // no current row
        q.append();
        QVERIFY_THROWS_EXCEPTION(DbError, q.setText(QStringLiteral("nosuch"), QStringLiteral("x")));
        OpenQuery(q, QStringLiteral("select count(*) as cnt from tasks"));
        QVERIFY_THROWS_EXCEPTION(DbError, q.append()); // not a table's rows
    }

    void wrongKeyMissingFileAndForeignFileAreRefused() {
        test::ProgramFolder folder;
        Database db;
        QVERIFY_THROWS_EXCEPTION(DbError, db.open(folder.path(), QStringLiteral("wrong")));
        QVERIFY(!db.isOpen());

        test::ProgramFolder empty(false);
        try {
            db.open(empty.path());
            QFAIL("a missing file was opened");
        } catch (const DbError& e) {
            QVERIFY(QString::fromUtf8(e.what()).contains(QLatin1String("zvData.zvb")));
        }
        QVERIFY(!QFile::exists(empty.path() + QLatin1String(Database::FileName))); // not created

        QFile foreign(empty.path() + QLatin1String(Database::FileName));
        QVERIFY(foreign.open(QIODevice::WriteOnly));
        foreign.write(QByteArray(4096, 'x'));
        foreign.close();
        QVERIFY_THROWS_EXCEPTION(DbError, db.open(empty.path()));
        QCOMPARE(foreign.size(), 4096); // left as it was
    }

    void fileCannotBeReadWithoutThePassword() {
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            test::InsertTask(db, test::Task(QStringLiteral("{S}"), QStringLiteral("root"),
                                            QStringLiteral("secret words")));
        }
        QFile f(folder.path() + QLatin1String(Database::FileName));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray raw = f.readAll();
        QVERIFY(!raw.startsWith("SQLite format 3"));
        QVERIFY(!raw.contains("secret words"));
        sqlite3* h = nullptr;
        QCOMPARE(
            sqlite3_open_v2(f.fileName().toUtf8().constData(), &h, SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
        QVERIFY(sqlite3_exec(h, "select count(*) from tasks", nullptr, nullptr, nullptr) !=
                SQLITE_OK);
        sqlite3_close(h);
    }

    void createEmptyNeverOverwrites() {
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        test::InsertTask(
            db, test::Task(QStringLiteral("{K}"), QStringLiteral("root"), QStringLiteral("keep")));
        db.close();
        QVERIFY_THROWS_EXCEPTION(
            DbError, Database::createEmpty(folder.path() + QLatin1String(Database::FileName)));
        db.open(folder.path());
        Query q(db);
        OpenQuery(q, QStringLiteral("select * from tasks"));
        QCOMPARE(q.text(QStringLiteral("content")), QStringLiteral("keep"));
    }

    void booleanWordsBecomeNumbersOutsideQuotes_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("words") << "update t set a=True, b=FALSE"
                               << "update t set a=1, b=0";
        QTest::newRow("quoted") << "select 'True' where x='it''s False'"
                                << "select 'True' where x='it''s False'";
        QTest::newRow("part of a word") << "select Trueness, falsey"
                                        << "select Trueness, falsey";
        QTest::newRow("identifier quotes") << "select \"True\""
                                           << "select \"True\"";
        QTest::newRow("unterminated") << "select 'True"
                                      << "select 'True";
    }
    void booleanWordsBecomeNumbersOutsideQuotes() {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(TranslateSql(sql), expected);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "test_database.moc"
