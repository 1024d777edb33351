#include "RadicaleServer.h"
#include "TestSupport.h"
#include "XandikosServer.h"
#include "core/TaskStore.h"
#include "platform/Transaction.h"
#include "sync/SyncEngine.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// One computer: a program folder and its database, syncing with the server.
struct Device {
    test::ProgramFolder folder;
    Database db;
    SyncEngine engine;
    Device() : engine(db, folder.path() + QStringLiteral("Backups"), QStringLiteral("1.0")) {
        db.open(folder.path());
    }
};

SyncAccount accountOf(const test::RadicaleServer& s, int user) {
    return {s.address(), QString::fromLatin1(s.Users[user]), QString::fromLatin1(s.Password)};
}

SyncResult run(Device& d, const SyncAccount& a) {
    SyncResult out;
    bool done = false;
    const auto c = QObject::connect(&d.engine, &SyncEngine::finished, [&](const SyncResult& r) {
        out = r;
        done = true;
    });
    d.engine.start(a);
    if (!QTest::qWaitFor([&] { return done; }, 120000))
        out.failure = QStringLiteral("no end");
    QObject::disconnect(c);
    return out;
}

// The synced columns of every task, one line a task, by id.
QStringList synced(Database& db) {
    Query q(db);
    QStringList rows;
    for (OpenQuery(q, QStringLiteral("select tid, pid, content, checkFlag, dueFlag, alarmFlag,"
                                     " textColor, backgroundColor, round(alarmTime*86400),"
                                     " round(dueTime*86400) from tasks order by tid"));
         !q.eof(); q.next()) {
        QStringList cols;
        for (int i = 0; i < q.fieldCount(); ++i)
            cols << (i >= 8 && !q.boolean(i - 3) ? QString() : q.text(i));
        rows << cols.join(u'|');
    }
    return rows;
}

QString python(const test::RadicaleServer& s, int user, const QStringList& args) {
    return s.client(user, args);
}

void edit(Database& db, const std::function<void(Query&)>& write) {
    Transaction t(db);
    Query q(db);
    write(q);
    t.commit();
}

TTaskInfo task(const QString& tid, const QString& pid, const QString& content) {
    TTaskInfo t = test::Task(tid, pid, content);
    t.createTime = t.editTime = ToDateTime(QDate(2026, 12, 1), QTime(9, 0));
    return t;
}

// Requests on a device's task list itself (DELETE, MKCALENDAR): all must succeed.
bool onList(Device& d, const QString& server, const char* user, const char* password,
            const QList<QByteArray>& methods) {
    const QUrl list = QUrl(server).resolved(QUrl(SyncStore(d.db).meta("collection")));
    DavClient http;
    http.setAccount(user, password, false);
    for (const QByteArray& method : methods) {
        int status = 0;
        http.send(method, list, method == "MKCALENDAR" ? Dav::MakeCalendar("Tasks") : QByteArray(),
                  {}, [&](const DavClient::Reply& r) { status = r.status; });
        if (!QTest::qWaitFor([&] { return status != 0; }, 10000) || status >= 300)
            return false;
    }
    return true;
}

// Many top-level tasks in one transaction.
void fill(Database& db, int n) {
    Transaction t(db);
    for (int i = 0; i < n; ++i)
        test::InsertTask(db, task(QStringLiteral("{m%1}").arg(i), "root",
                                  QStringLiteral("Task it's %1").arg(i)));
    t.commit();
}

} // namespace

class TestSync : public QObject {
    Q_OBJECT
    std::unique_ptr<test::RadicaleServer> server;

private slots:
    void initTestCase() {
        test::FixEnvironment();
        server = std::make_unique<test::RadicaleServer>();
        QVERIFY2(server->start(), "radicale did not start");
    }
    void cleanupTestCase() { server.reset(); }
    void cleanup() { Clock::SetForTesting({}); }

    // Every field, a sub-task, a quote; then each kind of change, and a
    // sync with nothing to do.
    void twoDevicesStayInStep() {
        Device a, b;
        TTaskInfo trip = task("{T}", "root", "Plan the trip\r\nwith notes");
        trip.alarmFlag = true, trip.alarmTime = ToDateTime(QDate(2026, 12, 24), QTime(18, 15));
        trip.dueFlag = true, trip.dueTime = ToDateTime(QDate(2026, 12, 31), QTime(0, 0));
        trip.textColor = 0x0000FF, trip.backgroundColor = 0xCCFFCC;
        TTaskInfo hotel = task("{H}", "{T}", "Book it's hotel");
        TTaskInfo done = task("{D}", "root", "Return the books");
        done.checkFlag = true, done.checkTime = ToDateTime(QDate(2026, 12, 2), QTime(8, 0));
        for (const auto& t : {trip, hotel, done})
            test::InsertTask(a.db, t);
        const SyncResult first = run(a, accountOf(*server, 0));
        QVERIFY2(first.ok, qPrintable(first.failure));
        QCOMPARE(first.sent, 3);
        const SyncResult got = run(b, accountOf(*server, 0));
        QVERIFY2(got.ok, qPrintable(got.failure));
        QCOMPARE(got.received, 3);
        QCOMPARE(synced(b.db), synced(a.db));

        const SyncResult idle = run(a, accountOf(*server, 0));
        QCOMPARE(idle.sent + idle.received, 0);

        const TDateTime now = ToDateTime(QDate(2026, 12, 5), QTime(10, 0));
        edit(b.db, [&](Query& q) {
            TaskStore::WriteContent(q, "{T}", "Plan the whole trip", now);
            TaskStore::WriteFlagAndTime(q, {"{T}"}, "checkFlag", true, "checkTime", now);
            TaskStore::WriteColors(q, {"{D}"}, 0xFF0000, 0);
            TaskStore::WriteParent(q, {"{H}"}, RootPid());
        });
        edit(b.db, [&](Query& q) { TaskStore::Delete(q, {"{D}"}); });
        const SyncResult sent = run(b, accountOf(*server, 0));
        QVERIFY2(sent.ok, qPrintable(sent.failure));
        QCOMPARE(sent.sent, 3);
        const SyncResult back = run(a, accountOf(*server, 0));
        QVERIFY2(back.ok, qPrintable(back.failure));
        QVERIFY(back.changedHere);
        QCOMPARE(synced(a.db), synced(b.db));
        QCOMPARE(synced(a.db).size(), 2);
    }

    // The later of two edits stays on both; the other goes into a file.
    // An edit beats a deletion on the other side.
    // A field changed on both sides goes to the later edit; one changed on
    // one side only stays.
    void laterEditWinsFieldByFieldAndEditBeatsDelete() {
        Device a, b;
        test::InsertTask(a.db, task("{C}", "root", "Call the plumber"));
        test::InsertTask(a.db, task("{X}", "root", "Water the plants"));
        QVERIFY(run(a, accountOf(*server, 1)).ok);
        QVERIFY(run(b, accountOf(*server, 1)).ok);
        Clock::SetForTesting([] { return QDateTime(QDate(2026, 12, 6), QTime(9, 0)); });
        edit(a.db, [&](Query& q) {
            TaskStore::WriteContent(q, "{C}", "Call the plumber at 9", Clock::Now());
            TaskStore::WriteColors(q, {"{C}"}, 255, 0);
            TaskStore::Delete(q, {"{X}"});
        });
        Clock::SetForTesting([] { return QDateTime(QDate(2026, 12, 6), QTime(11, 0)); });
        edit(b.db, [&](Query& q) {
            TaskStore::WriteContent(q, "{C}", "Call the plumber at 11", Clock::Now());
            TaskStore::WriteContent(q, "{X}", "Water the plants twice", Clock::Now());
        });
        QVERIFY(run(b, accountOf(*server, 1)).ok);
        const SyncResult r = run(a, accountOf(*server, 1));
        QVERIFY2(r.ok, qPrintable(r.failure));
        QVERIFY(!r.conflictFile.isEmpty());
        QVERIFY(test::ReadFile(r.conflictFile).contains("Call the plumber at 9"));
        QVERIFY(synced(a.db).join(u'\n').contains("Call the plumber at 11|0|0|0|255|"));
        QVERIFY(synced(a.db).join(u'\n').contains("Water the plants twice"));
        QVERIFY(run(b, accountOf(*server, 1)).ok);
        QCOMPARE(synced(b.db), synced(a.db));
    }

    // What another client writes shows here, and what we write back keeps
    // the properties we do not know.
    void anotherClientSeesTheSameTasks() {
        Device a;
        QVERIFY(run(a, accountOf(*server, 2)).ok);
        const QString added = python(*server, 2, {"add", "phone-1", "From the phone"});
        QVERIFY2(added.isEmpty(), qPrintable(added));
        QVERIFY(run(a, accountOf(*server, 2)).ok);
        QCOMPARE(test::StoredRowOf(a.folder.path(), "phone-1").content,
                 QStringLiteral("From the phone"));
        edit(a.db, [&](Query& q) {
            TaskStore::WriteFlagAndTime(q, {"phone-1"}, "checkFlag", true, "checkTime",
                                        Clock::Now());
        });
        QVERIFY(run(a, accountOf(*server, 2)).ok);
        QVERIFY2(python(*server, 2, {"list"}).contains("phone-1|From the phone|COMPLETED|kept"),
                 qPrintable(python(*server, 2, {"list"})));
    }

    // Another program's object edited here: only what changed is written
    // anew, every other line stays as the server had it; its status too.
    void otherProgramsLinesStayByteForByte() {
        Device a;
        QVERIFY(run(a, accountOf(*server, 8)).ok);
        const QString file = a.folder.path() + "phone.ics";
        const QByteArray head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//phone//EN\r\n"
                                "BEGIN:VTODO\r\nDTSTAMP:20261201T100000Z\r\n";
        for (const QByteArray& todo :
             {QByteArray("UID:p1\r\nSUMMARY:Slides\r\nCATEGORIES:work,errands\r\n"
                         "RESOURCES:PROJECTOR\\,SCREEN\r\nSTATUS:IN-PROCESS\r\n"
                         "PERCENT-COMPLETE:40\r\nX-PHONE;P=\"a:b\":kept\r\n"
                         "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:x\r\n"
                         "TRIGGER:-PT15M\r\nEND:VALARM\r\n"),
              QByteArray("UID:p2\r\nSUMMARY:Dropped\r\nSTATUS:CANCELLED\r\n")}) {
            QVERIFY(test::WriteFile(file, head + todo + "END:VTODO\r\nEND:VCALENDAR\r\n"));
            QCOMPARE(python(*server, 8, {"addraw", file}), QString());
        }
        QVERIFY(run(a, accountOf(*server, 8)).ok);
        QCOMPARE(test::StoredRowOf(a.folder.path(), "p1").checked, false); // in process
        QCOMPARE(test::StoredRowOf(a.folder.path(), "p2").checked, true);  // cancelled
        const QString before = python(*server, 8, {"raw", "p1"});
        edit(a.db, [&](Query& q) {
            TaskStore::WriteContent(q, "p1", "Slides for Monday", Clock::Now());
            TaskStore::WriteContent(q, "p2", "Dropped for good", Clock::Now());
        });
        QVERIFY(run(a, accountOf(*server, 8)).ok);
        const QString after = python(*server, 8, {"raw", "p1"});
        for (const QString& line : before.split(u'\n'))
            if (!line.startsWith("SUMMARY") && !line.startsWith("LAST-MODIFIED") &&
                !line.startsWith("DTSTAMP"))
                QVERIFY2(after.contains(line), qPrintable(line + "\n---\n" + after));
        QVERIFY(after.contains("SUMMARY:Slides for Monday"));
        QVERIFY(python(*server, 8, {"list"}).contains("p2|Dropped for good|CANCELLED"));
    }

    // The list deleted and made anew, empty, at the same address: noticed,
    // and the deletion guard asks before the tasks here go.
    void aListMadeAnewIsComparedInFull() {
        Device a;
        fill(a.db, 6);
        QCOMPARE(run(a, accountOf(*server, 9)).sent, 6);
        QVERIFY(onList(a, server->address(), server->Users[9], server->Password,
                       {"DELETE", "MKCALENDAR"}));
        QList<int> asked;
        a.engine.confirmDeletions = [&](int n, int total) {
            asked << n << total;
            return false; // kept, and sent back
        };
        const SyncResult r = run(a, accountOf(*server, 9));
        QVERIFY2(r.ok, qPrintable(r.failure));
        QCOMPARE(asked, (QList<int>{6, 6}));
        QCOMPARE(r.sent, 6);
        QCOMPARE(python(*server, 9, {"list"}).count(u'\n'), 6);
    }

    // The list deleted there: said, and made again when the user says so.
    void aDeletedListIsMadeAgainWhenAsked() {
        Device a;
        fill(a.db, 3);
        QCOMPARE(run(a, accountOf(*server, 10)).sent, 3);
        QVERIFY(onList(a, server->address(), server->Users[10], server->Password, {"DELETE"}));
        for (const bool yes : {false, true}) {
            a.engine.confirmRemake = [&](const QString&) { return yes; };
            const SyncResult r = run(a, accountOf(*server, 10));
            QCOMPARE(r.ok, yes);
            QCOMPARE(r.sent, yes ? 3 : 0);
            if (!yes)
                QVERIFY(r.failure.startsWith("The task list was deleted on the server"));
        }
        QCOMPARE(python(*server, 10, {"list"}).count(u'\n'), 3);
        QCOMPARE(run(a, accountOf(*server, 10)).sent, 0);
    }

    // Two task lists and a calendar of events: the test names the lists, an
    // address of events says so, and a device moved to the other list asks
    // what becomes of its tasks instead of copying them over.
    void theUserChoosesTheList() {
        const QString home = server->address() + server->Users[13] + u'/';
        const QByteArray events =
            "<?xml version=\"1.0\"?><c:mkcalendar xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:"
            "xml:ns:caldav\"><d:set><d:prop><c:supported-calendar-component-set><c:comp "
            "name=\"VEVENT\"/></c:supported-calendar-component-set></d:prop></d:set>"
            "</c:mkcalendar>";
        QCOMPARE(server->makeCalendar(13, "work/", Dav::MakeCalendar("Work")), 201);
        QCOMPARE(server->makeCalendar(13, "home/", Dav::MakeCalendar("Home")), 201);
        QCOMPARE(server->makeCalendar(13, "events/", events), 201);
        Device a, b;
        std::vector<SyncTaskList> lists;
        QString said;
        a.engine.test(accountOf(*server, 13), [&](bool, QString text, auto found) {
            said = text;
            lists = found;
        });
        QVERIFY(QTest::qWaitFor([&] { return !said.isEmpty(); }, 10000));
        QVERIFY2(said.startsWith("Found 2 task lists"), qPrintable(said));
        QCOMPARE(lists.size(), size_t(2));
        QCOMPARE(lists[0].name + u' ' + lists[1].name, QStringLiteral("Home Work"));
        SyncAccount account = accountOf(*server, 13);
        account.address = home + "events/";
        SyncResult r = run(a, account);
        QVERIFY(!r.ok && r.failure.contains("events only"));

        fill(a.db, 2);
        account = accountOf(*server, 13);
        account.list = lists[1].href;
        QCOMPARE(run(a, account).sent, 2);
        test::InsertTask(b.db, task("{h}", "root", "From home"));
        SyncAccount other = account;
        other.list = lists[0].href;
        QCOMPARE(run(b, other).sent, 1);
        QStringList asked;
        for (const auto answer :
             {SyncEngine::ListChange::Cancel, SyncEngine::ListChange::Replace}) {
            a.engine.confirmListChange = [&](const QString& was, const QString& now) {
                asked << was.section(u'/', -2) + u' ' + now.section(u'/', -2);
                return answer;
            };
            r = run(a, other);
        }
        QCOMPARE(asked, QStringList(2, "work/ home/"));
        QVERIFY2(r.ok, qPrintable(r.failure));
        QCOMPARE(synced(a.db), synced(b.db));
        b.engine.confirmListChange = [](auto, auto) { return SyncEngine::ListChange::Send; };
        r = run(b, account);
        QCOMPARE(r.sent + 10 * r.received, 1 + 10 * 2);
    }

    // Two devices set up at the same moment on an empty account each make
    // a list; both then take the same one.
    void twoDevicesSetUpAtOnceShareOneList() {
        Device a, b;
        int done = 0;
        for (Device* d : {&a, &b}) {
            connect(&d->engine, &SyncEngine::finished, [&](const SyncResult& r) {
                QVERIFY2(r.ok, qPrintable(r.failure));
                ++done;
            });
            d->engine.start(accountOf(*server, 12));
        }
        QVERIFY(QTest::qWaitFor([&] { return done == 2; }, 60000));
        QCOMPARE(SyncStore(a.db).meta("collection"), SyncStore(b.db).meta("collection"));
    }

    // todoman through vdirsyncer, as its users run it: what it wrote comes
    // back as it wrote it, and a task with two categories stays in its list.
    void todomanKeepsItsTasks() {
        Device a;
        QVERIFY(run(a, accountOf(*server, 11)).ok);
        const QString file = a.folder.path() + "phone.ics";
        QVERIFY(test::WriteFile(file, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\n"
                                      "BEGIN:VTODO\r\nUID:p1\r\nDTSTAMP:20261201T100000Z\r\n"
                                      "SUMMARY:Slides\r\nCATEGORIES:work,errands\r\n"
                                      "END:VTODO\r\nEND:VCALENDAR\r\n"));
        QCOMPARE(python(*server, 11, {"addraw", file}), QString());
        QTemporaryDir home;
        const auto todoman = [&](const QStringList& args) {
            return test::RunClient(server->address(), server->Users[11], server->Password,
                                   QStringList{home.path()} + args, "vdir_client.py");
        };
        QCOMPARE(todoman({"sync"}), QString());
        const QString uid = todoman({"new", "From todoman"}).trimmed();
        QCOMPARE(todoman({"sync"}), QString());
        const QString written = todoman({"file", uid});
        QVERIFY2(written.contains("SUMMARY:From todoman"), qPrintable(written));
        QCOMPARE(run(a, accountOf(*server, 11)).received, 2);
        edit(a.db, [&](Query& q) {
            TaskStore::WriteContent(q, "p1", "Slides for Monday", Clock::Now());
            TaskStore::WriteContent(q, uid, "Edited here", Clock::Now());
        });
        QCOMPARE(run(a, accountOf(*server, 11)).sent, 2);
        QCOMPARE(todoman({"sync"}), QString());
        const QStringList listed = todoman({"list"}).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY2(listed.contains("Slides for Monday|0") && listed.contains("Edited here|0"),
                 qPrintable(listed.join(u'\n')));
        // Line ends aside: vdirsyncer writes the server's as it likes.
        const QString back = todoman({"file", uid}).remove(u'\r');
        for (const QString& line : QString(written).remove(u'\r').split(u'\n'))
            if (!line.startsWith("SUMMARY") && !line.startsWith("LAST-MODIFIED") &&
                !line.startsWith("DTSTAMP"))
                QVERIFY2(back.contains(line), qPrintable(line + "\n---\n" + back));
    }

    // The second server, which differs: two devices, another client's
    // lines kept, a token it no longer knows (it answers 500), and the
    // list made anew.
    void xandikosToo() {
        test::XandikosServer x;
        QVERIFY2(x.start(), "xandikos did not start");
        const SyncAccount account{x.address(), "user", "ignored"};
        Device a, b;
        test::InsertTask(a.db, task("{T}", "root", "Plan it's trip"));
        test::InsertTask(a.db, task("{H}", "{T}", "Book the hotel"));
        QCOMPARE(run(a, account).sent, 2);
        QCOMPARE(run(b, account).received, 2);
        QCOMPARE(synced(b.db), synced(a.db));
        const QString file = a.folder.path() + "phone.ics";
        QVERIFY(test::WriteFile(file, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\n"
                                      "BEGIN:VTODO\r\nUID:p1\r\nDTSTAMP:20261201T100000Z\r\n"
                                      "SUMMARY:Slides\r\nCATEGORIES:work,errands\r\n"
                                      "STATUS:IN-PROCESS\r\nEND:VTODO\r\nEND:VCALENDAR\r\n"));
        QCOMPARE(x.client({"addraw", file}), QString());
        QCOMPARE(run(b, account).received, 1);
        edit(b.db, [&](Query& q) {
            TaskStore::WriteContent(q, "p1", "Slides for Monday", Clock::Now());
        });
        QCOMPARE(run(b, account).sent, 1);
        const QString raw = x.client({"raw", "p1"});
        QVERIFY2(raw.contains("CATEGORIES:work,errands") && raw.contains("STATUS:IN-PROCESS") &&
                     raw.contains("SUMMARY:Slides for Monday"),
                 qPrintable(raw));
        SyncStore(a.db).setMeta("token", "http://example.org/gone/1");
        const SyncResult unknown = run(a, account);
        QVERIFY2(unknown.ok, qPrintable(unknown.failure));
        QCOMPARE(unknown.received, 1);
        QCOMPARE(synced(a.db), synced(b.db));
        QVERIFY(onList(a, x.address(), "", "", {"DELETE", "MKCALENDAR"}));
        int asked = 0;
        a.engine.confirmDeletions = [&](int, int) { return ++asked, false; };
        const SyncResult anew = run(a, account);
        QVERIFY2(anew.ok, qPrintable(anew.failure));
        QCOMPARE(asked, 1);
        QCOMPARE(anew.sent, 3);
    }

    // The server gone half-way: nothing lost, and the next sync finishes
    // the work without doubles.
    void serverStoppedMidwayLosesNothing() {
        Device a, b;
        fill(a.db, 600);
        QTimer::singleShot(400, [&] { server->stop(); });
        const SyncResult cut = run(a, accountOf(*server, 3));
        QVERIFY(!cut.ok);
        QCOMPARE(synced(a.db).size(), 600);
        QVERIFY(server->start());
        const SyncResult rest = run(a, accountOf(*server, 3));
        QVERIFY2(rest.ok, qPrintable(rest.failure));
        QVERIFY(rest.sent > 0);
        QVERIFY(run(b, accountOf(*server, 3)).ok);
        QCOMPARE(synced(b.db), synced(a.db));
    }

    // Killed while sending or while receiving, at several moments: the
    // next sync finishes the work, nothing lost and nothing twice.
    void killedMidwayGoesOnNextTime_data() {
        QTest::addColumn<bool>("receiving");
        QTest::addColumn<int>("afterMs");
        QTest::addColumn<int>("user");
        QTest::newRow("sending, early") << false << 150 << 5;
        QTest::newRow("sending, later") << false << 700 << 6;
        QTest::newRow("receiving") << true << 60 << 7;
    }
    void killedMidwayGoesOnNextTime() {
        QFETCH(bool, receiving);
        QFETCH(int, afterMs);
        QFETCH(int, user);
        Device a, b;
        fill(a.db, 300);
        if (receiving)
            QVERIFY(run(a, accountOf(*server, user)).ok);
        Device& killed = receiving ? b : a;
        killed.db.close(); // the child has the file to itself
        QProcess child;
        child.start(QStringLiteral(CHILD_PATH), {killed.folder.path(), server->address(),
                                                 server->Users[user], server->Password});
        QVERIFY(child.waitForStarted());
        QTest::qWait(afterMs);
        child.kill();
        child.waitForFinished();
        if (!child.readAllStandardOutput().isEmpty())
            qWarning("the sync ended before the kill: a faster machine than this test knows");
        killed.db.open(killed.folder.path());
        QVERIFY(run(a, accountOf(*server, user)).ok);
        QVERIFY(run(b, accountOf(*server, user)).ok);
        QCOMPARE(synced(b.db).size(), 300);
        QCOMPARE(synced(b.db), synced(a.db));
        QCOMPARE(python(*server, user, {"list"}).count(u'\n'), 300);
    }

    // A wiped collection empties no list unasked; declined, the tasks go back.
    void wipedCollectionIsAskedAbout() {
        Device a;
        test::InsertTask(a.db, task("{W1}", "root", "Keep me"));
        test::InsertTask(a.db, task("{W2}", "root", "And me"));
        QVERIFY(run(a, accountOf(*server, 4)).ok);
        python(*server, 4, {"wipe"});
        int asked = 0;
        a.engine.confirmDeletions = [&](int n, int total) {
            ++asked;
            return n != total; // no to the wipe
        };
        const SyncResult r = run(a, accountOf(*server, 4));
        QVERIFY2(r.ok, qPrintable(r.failure));
        QVERIFY(asked > 0);
        QCOMPARE(synced(a.db).size(), 2);
        QVERIFY(python(*server, 4, {"list"}).contains("Keep me"));
    }
};

QTEST_GUILESS_MAIN(TestSync)
#include "test_sync.moc"
