#include "TestSupport.h"
#include "core/ICalendar.h"
#include "core/ICalendarImport.h"
#include "core/TaskRules.h"

#include <QProcess>
#include <QtTest>

// iCalendar files: our tasks through libical and back, what other programs
// write, and the import's rules for known and unknown tasks.

namespace {

// What a task row means, one line a row in table order, times to the second
// and only where their flag makes them mean something.
QStringList Meaning(Database& db) {
    Query q(db);
    QStringList rows;
    OpenQuery(
        q, QStringLiteral(
               "select tid, pid, quote(content), checkFlag,"
               " case when checkFlag then cast(round(checkTime*86400) as integer) end, dueFlag,"
               " case when dueFlag then cast(round(dueTime*86400) as integer) end, alarmFlag,"
               " case when alarmFlag then cast(round(alarmTime*86400) as integer) end, textColor,"
               " backgroundColor, expandFlag, cast(round(createTime*86400) as integer),"
               " cast(round(editTime*86400) as integer) from tasks order by rowid"));
    for (; !q.eof(); q.next()) {
        QStringList cols;
        for (int i = 0; i < q.fieldCount(); ++i)
            cols << (q.isNull(i) ? QStringLiteral("-") : q.text(i));
        rows << cols.join(u'|');
    }
    return rows;
}

TDateTime At(const char* iso) {
    return ToDateTime(QDateTime::fromString(QLatin1String(iso), Qt::ISODate));
}

TTaskInfo Full(const QString& tid, const QString& pid, const QString& content) {
    TTaskInfo t = test::Task(tid, pid, content);
    t.createTime = At("2026-03-29T01:59:59.400");
    t.editTime = At("2026-10-25T03:30:00.600");
    return t;
}

QString WriteFile(const QTemporaryDir& dir, const QByteArray& bytes, const char* name = "t.ics") {
    const QString path = dir.filePath(QLatin1String(name));
    return test::WriteFile(path, bytes) ? path : QString();
}

QByteArray Calendar(const QByteArray& body) {
    QByteArray b =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\n" + body + "END:VCALENDAR\r\n";
    return b.replace("\n", "\r\n").replace("\r\r\n", "\r\n");
}

} // namespace

class TestICalendar : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    // Exports the rows of one folder and imports them into an empty one.
    QStringList roundTrip(const QList<TTaskInfo>& tasks, QStringList* before = nullptr) {
        test::ProgramFolder from, to;
        test::Fill(from.path(), tasks);
        std::vector<ICalendar::Entry> entries;
        for (const TTaskInfo& t : tasks)
            entries.push_back({&t, t.pid == RootPid() ? QString() : t.pid});
        const QString file = WriteFile(m_dir, ICalendar::WriteCalendar(entries, "1.0"));
        Database a, b;
        a.open(from.path());
        b.open(to.path());
        if (before)
            *before = Meaning(a);
        const auto r = ICalendar::ImportFile(b, file, Clock::Now());
        if (r.added != tasks.size())
            return {r.text()};
        return Meaning(b);
    }

private slots:
    void initTestCase() { test::FixEnvironment("Europe/Berlin"); }

    void ourTasksComeBackExactly_data() {
        QTest::addColumn<QString>("content");
        for (const char* text :
             {"one line", "", "it's \"quoted\"; with, commas \\ and \\n", "two\r\nlines",
              "three\r\nlines\r\nhere", "trailing break\r\n", "\r\nleading break", "\r\n\r\n",
              "lone\rCR", "tab\there", "\x01 control", "Umlaute äöü ß → 🙂",
              "a long line that libical folds at seventy-five octets: "
              "ääääääääääääääääääääääääääääääääääääääääääääääääääääääääää"})
            QTest::newRow(text) << QString::fromUtf8(text);
    }
    void ourTasksComeBackExactly() {
        QFETCH(QString, content);
        TTaskInfo top = Full("{T}", RootPid(), content);
        top.expandFlag = true;
        top.textColor = 255, top.backgroundColor = 0xc0ffee;
        top.dueFlag = true, top.dueTime = At("2026-12-24T00:00:00");
        top.alarmFlag = true, top.alarmTime = At("2026-12-23T18:15:30.250");
        TTaskInfo sub = Full("{S}", "{T}", content + "!");
        sub.checkFlag = true, sub.checkTime = At("2027-01-02T03:04:05");
        sub.alarmTime = At("2026-01-01T00:00:00"); // dismissed: not carried
        QStringList before;
        const QStringList after = roundTrip({top, sub, Full("{P}", RootPid(), "plain")}, &before);
        QCOMPARE(after, before);
    }

    void whatOthersWrite_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("expected"); // Meaning() of the imported rows
        const QString root = RootPid();
        // Times in Berlin, the test's zone: +01:00 in winter, +02:00 in summer.
        const auto t = [](const char* iso) { return QString::number(qRound64(At(iso) * 86400)); };
        const QString stamp = t("2026-12-01T13:00:00");
        const QString head = "BEGIN:VTODO\nDTSTAMP:20261201T120000Z\n";
        const auto row = [&](const QString& tid, const QString& pid, const QString& content,
                             const QString& rest = "0|-|0|-|0|-") {
            return QStringList{tid, pid, "'" + content + "'", rest, "0", "0", "0", stamp, stamp}
                .join('|');
        };
        QTest::newRow("date-only due: the whole day, to its last second in local time")
            << QByteArray(head.toUtf8() + "UID:a\nSUMMARY:x\nDUE;VALUE=DATE:20261224\nEND:VTODO\n")
            << QStringList{row("a", root, "x", "0|-|1|" + t("2026-12-24T23:59:59") + "|0|-")};
        QTest::newRow("due in a named zone, a trigger before it")
            << QByteArray(head.toUtf8() +
                          "UID:a\nSUMMARY:x\nDUE;TZID=America/New_York:20260701T090000\n"
                          "BEGIN:VALARM\nACTION:DISPLAY\nDESCRIPTION:x\n"
                          "TRIGGER;RELATED=END:-PT1H30M\nEND:VALARM\nEND:VTODO\n")
            << QStringList{
                   row("a", root, "x",
                       "0|-|1|" + t("2026-07-01T15:00:00") + "|1|" + t("2026-07-01T13:30:00"))};
        QTest::newRow("trigger after DTSTART; the earliest of several alarms")
            << QByteArray(head.toUtf8() + "UID:a\nSUMMARY:x\nDTSTART:20260105T100000Z\n"
                                          "BEGIN:VALARM\nACTION:AUDIO\nTRIGGER:PT2H\nEND:VALARM\n"
                                          "BEGIN:VALARM\nACTION:DISPLAY\nTRIGGER;VALUE=DATE-TIME:"
                                          "20260105T113000Z\nEND:VALARM\nX-FOO:bar\nEND:VTODO\n")
            << QStringList{row("a", root, "x", "0|-|0|-|1|" + t("2026-01-05T12:30:00"))};
        QTest::newRow("complete by percent; complete by status without a time")
            << QByteArray(head.toUtf8() +
                          "UID:a\nSUMMARY:x\nPERCENT-COMPLETE:100\n"
                          "COMPLETED:20260301T100000Z\nEND:VTODO\n" +
                          head.toUtf8() +
                          "UID:b\nSUMMARY:y\nSTATUS:COMPLETED\n"
                          "LAST-MODIFIED:20261201T120000Z\nEND:VTODO\n")
            << QStringList{row("a", root, "x", "1|" + t("2026-03-01T11:00:00") + "|0|-|0|-"),
                           row("b", root, "y", "1|" + stamp + "|0|-|0|-")};
        QTest::newRow("parents: without RELTYPE, of a sub-task, missing, a cycle, into a cycle")
            << QByteArray(head.toUtf8() + "UID:p\nSUMMARY:p\nEND:VTODO\n" + head.toUtf8() +
                          "UID:c\nSUMMARY:c\nRELATED-TO:p\nEND:VTODO\n" + head.toUtf8() +
                          "UID:g\nSUMMARY:g\nRELATED-TO;RELTYPE=PARENT:c\nEND:VTODO\n" +
                          head.toUtf8() + "UID:h\nSUMMARY:h\nRELATED-TO:g\nEND:VTODO\n" +
                          head.toUtf8() +
                          "UID:s\nSUMMARY:s\nRELATED-TO;RELTYPE=SIBLING:p\nEND:VTODO\n" +
                          head.toUtf8() + "UID:m\nSUMMARY:m\nRELATED-TO:nowhere\nEND:VTODO\n" +
                          head.toUtf8() + "UID:x\nSUMMARY:x\nRELATED-TO:y\nEND:VTODO\n" +
                          head.toUtf8() + "UID:y\nSUMMARY:y\nRELATED-TO:x\nEND:VTODO\n" +
                          head.toUtf8() + "UID:q\nSUMMARY:q\nRELATED-TO:y\nEND:VTODO\n")
            << QStringList{row("p", root, "p"), row("c", "p", "c"),  row("g", "p", "g"),
                           row("h", "p", "h"),  row("s", root, "s"), row("m", root, "m"),
                           row("x", root, "x"), row("y", root, "y"), row("q", root, "q")};
        QTest::newRow("folded lines, escapes, a description, unknown parts")
            << QByteArray(head.toUtf8() +
                          "UID:a\nSUMMARY;LANGUAGE=de:Zeile\\, mit \\;\n  und\\\\ Falte\n"
                          "DESCRIPTION:zwei\\nZeilen\\N!\nX-UNKNOWN;P=1:whatever\n"
                          "GEO:junk\nDTSTART:not a date\n"
                          "BEGIN:X-THING\nFOO:1\nEND:X-THING\nEND:VTODO\n"
                          "BEGIN:VEVENT\nUID:e\nSUMMARY:an event\nEND:VEVENT\n")
            << QStringList{row("a", root, "Zeile, mit ; und\\ Falte\r\nzwei\r\nZeilen\r\n!")};
    }
    void whatOthersWrite() {
        QFETCH(QByteArray, body);
        QFETCH(QStringList, expected);
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        const auto r =
            ICalendar::ImportFile(db, WriteFile(m_dir, Calendar(body)), At("2026-12-01T13:00:00"));
        QCOMPARE(r.added, expected.size());
        QCOMPARE(Meaning(db), expected);
    }

    // A date-only due date stays a date: untouched when the day is the same,
    // moved as a date, and a time of day set here is written as a time.
    void wholeDayDueIsWrittenAsADate() {
        const QByteArray object = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//other//EN\r\n"
                                  "BEGIN:VTODO\r\nUID:a\r\nDTSTAMP:20261201T120000Z\r\n"
                                  "SUMMARY:x\r\nDUE;VALUE=DATE:20261224\r\nEND:VTODO\r\n"
                                  "END:VCALENDAR\r\n";
        const auto read = ICalendar::ReadCalendar(object, At("2026-12-01T13:00:00"));
        QCOMPARE(read.size(), size_t(1));
        TTaskInfo t = read.front().info;
        QVERIFY(Overdue(t, ToDateTime(QDate(2026, 12, 25), QTime(0, 0))));
        QVERIFY(!Overdue(t, ToDateTime(QDate(2026, 12, 24), QTime(23, 59, 59, 900))));
        QVERIFY(
            ICalendar::MergeFields(object, t, QString()).contains("DUE;VALUE=DATE:20261224\r\n"));
        t.dueTime += 1;
        QVERIFY(
            ICalendar::MergeFields(object, t, QString()).contains("DUE;VALUE=DATE:20261225\r\n"));
        t.dueTime = At("2026-12-25T09:30:00");
        QVERIFY(ICalendar::MergeFields(object, t, QString()).contains("DUE:20261225T083000Z\r\n"));
    }

    // Known UIDs are updated only when the file changed them later; a task
    // with stored sub-tasks stays top-level; the safety copy comes first.
    void importUpdatesWhatIsNewer() {
        test::ProgramFolder folder;
        TTaskInfo older = Full("{O}", RootPid(), "stored, older");
        TTaskInfo newer = Full("{N}", RootPid(), "stored, newer");
        newer.editTime = At("2027-01-01T00:00:00");
        test::Fill(folder.path(), {older, newer, Full("{K}", "{O}", "stored child of O")});
        Database db;
        db.open(folder.path());
        const QByteArray lm = "LAST-MODIFIED:20261201T120000Z\nDTSTAMP:20261201T120000Z\n";
        const QByteArray file =
            Calendar("BEGIN:VTODO\nUID:{O}\nSUMMARY:changed O\nRELATED-TO:{N}\n" + lm +
                     "END:VTODO\n" + "BEGIN:VTODO\nUID:{N}\nSUMMARY:changed N\n" + lm +
                     "END:VTODO\n" + "BEGIN:VTODO\nUID:{O}\nSUMMARY:O again\n" + lm +
                     "END:VTODO\n" + "BEGIN:VTODO\nSUMMARY:no UID\n" + lm + "END:VTODO\n");
        int copies = 0, rowsAtCopy = 0;
        const auto r = ICalendar::ImportFile(db, WriteFile(m_dir, file), Clock::Now(), {}, [&] {
            rowsAtCopy = test::TableText(db).size();
            ++copies;
        });
        QCOMPARE(rowsAtCopy, 3);
        QCOMPARE(r.text(), QStringLiteral("Imported: 1 added, 1 updated, 2 skipped"));
        QCOMPARE(copies, 1);
        QCOMPARE(test::StoredContents(folder.path()),
                 (QStringList{"changed O", "no UID", "stored child of O", "stored, newer"}));
        QCOMPARE(test::StoredRowOf(folder.path(), "{O}").pid, RootPid());
        // The same file again: nothing newer, nothing written, no copy.
        const auto again =
            ICalendar::ImportFile(db, WriteFile(m_dir, file), Clock::Now(), {}, [&] { ++copies; });
        QCOMPARE(again.text(), QStringLiteral("Imported: 1 added, 0 updated, 3 skipped"));
        QCOMPARE(copies, 2); // the one without a UID is new each time
    }

    void notCalendarChangesNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QByteArray() << "Not an iCalendar file: ";
        QTest::newRow("text") << QByteArray("hello\r\nworld\r\n") << "Not an iCalendar file: ";
        QTest::newRow("cut short") << QByteArray("BEGIN:VCALENDAR\r\nBEGIN:VTODO\r\nUID:a\r\n")
                                   << "Not an iCalendar file: ";
        QTest::newRow("a card") << QByteArray("BEGIN:VCARD\r\nFN:x\r\nEND:VCARD\r\n")
                                << "Not an iCalendar file: libical read a ";
    }
    void notCalendarChangesNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        test::ProgramFolder folder;
        test::Fill(folder.path(), {Full("{A}", RootPid(), "it's kept")});
        Database db;
        db.open(folder.path());
        const QStringList before = test::TableText(db);
        try {
            ICalendar::ImportFile(db, WriteFile(m_dir, bytes), Clock::Now(), {},
                                  [] { QFAIL("no copy for a file that is not read"); });
            QFAIL("imported");
        } catch (const ICalendar::NotCalendarError& e) {
            QVERIFY2(QString::fromUtf8(e.what()).startsWith(message), e.what());
        }
        QCOMPARE(test::TableText(db), before);
    }

    // An independent reader sees every field of our export, and what it
    // writes in the forms other programs use comes in as it meant.
    void independentReaderAndWriter() {
        const QString script = QFINDTESTDATA("ics_interop.py");
        QVERIFY(!script.isEmpty());
        TTaskInfo top = Full("{T}", RootPid(), "Title\r\nmore, text; here");
        top.dueFlag = true, top.dueTime = At("2026-12-24T09:00:00");
        top.alarmFlag = true, top.alarmTime = At("2026-12-23T18:15:00");
        top.textColor = 255, top.expandFlag = true;
        TTaskInfo sub = Full("{S}", "{T}", "it's done");
        sub.checkFlag = true, sub.checkTime = At("2027-01-02T03:04:05");
        const QString ours = WriteFile(
            m_dir, ICalendar::WriteCalendar({{&top, {}}, {&sub, "{T}"}}, "1.0"), "ours.ics");
        const QString theirs = m_dir.filePath("theirs.ics");
        QProcess py;
        py.start("/usr/bin/python3", {script, ours, theirs});
        QVERIFY(py.waitForFinished(60000));
        QVERIFY2(py.exitCode() == 0, py.readAllStandardError().constData());

        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        QCOMPARE(ICalendar::ImportFile(db, theirs, Clock::Now()).added, 4);
        const auto t = [](const char* iso) { return QString::number(qRound64(At(iso) * 86400)); };
        const QStringList rows = Meaning(db);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0].section('|', 0, 8), "p|root|'Parent\r\nwith notes'|0|-|1|" +
                                                 t("2027-02-01T23:59:59") + "|1|" +
                                                 t("2027-01-31T23:45:00"));
        QCOMPARE(rows[1].section('|', 0, 4), "c|p|'Child'|1|" + t("2027-01-10T09:00:00"));
        QCOMPARE(rows[2].section('|', 0, 2), "g|p|'Grandchild'");
        QCOMPARE(rows[3].section('|', 0, 8), "z|root|'Zoned'|0|-|1|" + t("2027-03-01T17:00:00") +
                                                 "|1|" + t("2027-03-01T16:00:00"));
    }
};

QTEST_GUILESS_MAIN(TestICalendar)
#include "test_icalendar.moc"
