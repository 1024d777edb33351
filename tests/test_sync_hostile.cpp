#include "HttpStub.h"
#include "TestSupport.h"
#include "sync/SyncEngine.h"

#include <QProcess>
#include <QSslKey>
#include <QSslServer>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Answer = test::HttpStub::Answer;

const QByteArray kXml = "application/xml; charset=utf-8";

QByteArray multistatus(const QByteArray& responses) {
    return "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" "
           "xmlns:c=\"urn:ietf:params:xml:ns:caldav\">" +
           responses + "</d:multistatus>";
}

// A task list at /cal/ holding the objects given, found at once, listed
// by a sync report or by ETags, and fetched by multiget.
Answer taskList(const test::HttpStub::Request& r, const QList<QByteArray>& objects) {
    if (r.method == "PROPFIND" && !r.body.contains("getetag"))
        return {207,
                multistatus("<d:response><d:href>/cal/</d:href><d:propstat><d:prop>"
                            "<d:resourcetype><d:collection/><c:calendar/></d:resourcetype>"
                            "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat>"
                            "</d:response>"),
                {{"Content-Type", kXml}}};
    if (r.method == "REPORT" || r.method == "PROPFIND") {
        const bool get = r.body.contains("calendar-multiget");
        QByteArray list;
        for (int i = 0; i < objects.size(); ++i) {
            QByteArray data = objects[i];
            data.replace("&", "&amp;").replace("<", "&lt;");
            list += "<d:response><d:href>/cal/" + QByteArray::number(i) +
                    ".ics</d:href><d:propstat><d:prop><d:getetag>\"1\"</d:getetag>" +
                    (get ? "<c:calendar-data>" + data + "</c:calendar-data>" : QByteArray()) +
                    "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
        }
        const bool report = r.method == "REPORT" && !get;
        return {207,
                multistatus(list + (report ? "<d:sync-token>t1</d:sync-token>" : "")),
                {{"Content-Type", kXml}}};
    }
    return {201, {}, {{"ETag", "\"2\""}}};
}

QByteArray vtodo(const char* uid, const char* summary, const char* parent = nullptr) {
    QByteArray v =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VTODO\r\nUID:" + QByteArray(uid) +
        "\r\nSUMMARY:" + summary + "\r\n";
    if (parent)
        v += "RELATED-TO:" + QByteArray(parent) + "\r\n";
    return v + "END:VTODO\r\nEND:VCALENDAR\r\n";
}

} // namespace

class TestSyncHostile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::FixEnvironment(); }

    // Whatever the server does, the sync ends with a reason or with what
    // can be read of it, and the stored task is untouched.
    void hostileServers_data() {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("failure"); // the start of it
        QTest::addColumn<QStringList>("contents");
        QTest::newRow("broken XML")
            << false << "The server's reply is not XML" << QStringList{"Stored"};
        QTest::newRow("huge body")
            << false << "The server's reply is too large" << QStringList{"Stored"};
        QTest::newRow("endless redirects")
            << false << "The server redirects too many" << QStringList{"Stored"};
        QTest::newRow("a web page")
            << false << "No CalDAV server was found" << QStringList{"Stored"};
        QTest::newRow("wrong password")
            << false << "The server refused the user" << QStringList{"Stored"};
        QTest::newRow("disk full")
            << false << "The server has no room left" << QStringList{"Stored"};
        QTest::newRow("server error")
            << false << "The server failed (HTTP 500)" << QStringList{"Stored"};
        QTest::newRow("trickling reply")
            << false << "The server took too long" << QStringList{"Stored"};
        QTest::newRow("announced too large")
            << false << "The server's reply is too large" << QStringList{"Stored"};
        // No incremental sync here: the ETags tell.
        QTest::newRow("no sync reports (501)") << true << "" << QStringList{"Stored", "fine"};
        QTest::newRow("unknown token (500)") << true << "" << QStringList{"Stored", "fine"};
        // Credentials go to no other port of the same host.
        QTest::newRow("redirect to another port") << true << "" << QStringList{"Stored"};
        // Changed there between our reading and our writing: the later wins.
        QTest::newRow("changed on the way") << true << "" << QStringList{"Theirs"};
        QTest::newRow("events only") << true << "" << QStringList{"Stored"};
        QTest::newRow("parent cycle") << true << "" << QStringList{"Stored", "one", "two"};
        QTest::newRow("not a calendar") << true << "" << QStringList{"Stored", "fine"};
    }
    void hostileServers() {
        QFETCH(bool, ok);
        QFETCH(QString, failure);
        QFETCH(QStringList, contents);
        const QByteArray row = QTest::currentDataTag();
        test::HttpStub stub, other;
        other.answer = [](const test::HttpStub::Request& r) { return taskList(r, {}); };
        int redirects = 0;
        stub.answer = [&](const test::HttpStub::Request& r) -> Answer {
            if (row == "trickling reply")
                return {207, multistatus(""), {{"Content-Type", kXml}}, 0, -1, 300};
            if (row == "announced too large")
                return {207, "x", {{"Content-Type", kXml}}, 0, 200 << 20};
            if (row.endsWith("(501)") && r.body.contains("sync-collection"))
                return {501, {}, {}};
            if (row.endsWith("(500)") && r.body.contains("<d:sync-token>old"))
                return {500, {}, {}};
            if (row.contains("(50"))
                return taskList(r, {vtodo("f", "fine")});
            if (row == "redirect to another port")
                return {307, {}, {{"Location", other.address("/cal/").toUtf8()}}};
            if (row == "broken XML" && r.method == "REPORT")
                return {207,
                        "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\"><d:resp",
                        {{"Content-Type", kXml}}};
            if (row == "huge body")
                return {207, "x", {{"Content-Type", kXml}}, 80 << 20};
            if (row == "endless redirects")
                return {301, {}, {{"Location", "/again/" + QByteArray::number(++redirects)}}};
            if (row == "a web page")
                return {207, "<html><body>Welcome</body></html>", {{"Content-Type", "text/html"}}};
            if (row == "wrong password")
                return {401, {}, {{"WWW-Authenticate", "Basic realm=\"x\""}}};
            if (row == "disk full")
                return r.method == "PUT" ? Answer{507, {}, {}} : taskList(r, {});
            if (row == "server error" && r.method == "PUT")
                return {500, {}, {}};
            if (row == "server error")
                return taskList(r, {});
            if (row == "changed on the way" && r.method == "PUT")
                return {412, {}, {}};
            if (row == "changed on the way" && r.method == "GET")
                return {200,
                        QByteArray(vtodo("{S}", "Theirs"))
                            .replace("SUMMARY", "LAST-MODIFIED:20300101T000000Z\r\nSUMMARY"),
                        {{"ETag", "\"9\""}}};
            if (row == "changed on the way")
                return taskList(r, {});
            if (row == "events only")
                return taskList(r, {"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:e\r\nSUMMARY:Party"
                                    "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"});
            if (row == "parent cycle")
                return taskList(r, {vtodo("a", "one", "b"), vtodo("b", "two", "a")});
            return taskList(r, {"garbage \x01\x02", vtodo("f", "fine")});
        };
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        test::InsertTask(db, test::Task("{S}", "root", "Stored"));
        SyncEngine engine(db, folder.path() + "Backups", "1");
        engine.setRequestDeadline(2000);
        if (row.endsWith("(500)")) {
            SyncStore store(db);
            store.attach();
            store.setMeta("account", "u@" + stub.address("/cal/"));
            store.setMeta("collection", "/cal/");
            store.setMeta("token", "old");
        }
        SyncResult result;
        bool done = false;
        connect(&engine, &SyncEngine::finished, [&](const SyncResult& r) {
            result = r;
            done = true;
        });
        engine.start({stub.address("/cal/"), "u", "p"});
        QVERIFY(QTest::qWaitFor([&] { return done; }, 60000));
        QCOMPARE(result.ok, ok);
        QVERIFY2(ok ? result.failure.isEmpty() : result.failure.startsWith(failure),
                 qPrintable(result.failure));
        QStringList stored;
        for (const auto& r : test::StoredRows(folder.path(), "order by content"))
            stored << r.content;
        QCOMPARE(stored, contents);
        if (row == "changed on the way")
            QVERIFY(test::ReadFile(result.conflictFile).contains("SUMMARY:Stored"));
        // Two levels, whatever the server said of parents.
        Query q(db);
        OpenQuery(q, QStringLiteral("select count(*) from tasks where pid<>'root' and pid in"
                                    " (select tid from tasks where pid<>'root')"));
        QCOMPARE(q.integer(0), 0);
        QVERIFY(redirects <= DavClient::MaxRedirects + 1);
        QCOMPARE(other.seen.isEmpty(), row != "redirect to another port");
        for (const auto& r : other.seen)
            QVERIFY(!r.head.toLower().contains("authorization"));
    }

    // A certificate this system does not trust: refused, with what to do.
    void untrustedCertificateSaysWhatToDo() {
        QTemporaryDir dir;
        QProcess openssl;
        openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                                  "-subj", "/CN=127.0.0.1", "-keyout", dir.filePath("key.pem"),
                                  "-out", dir.filePath("cert.pem")});
        QVERIFY(openssl.waitForFinished(60000) && openssl.exitCode() == 0);
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(QSslCertificate(test::ReadFile(dir.filePath("cert.pem"))));
        tls.setPrivateKey(QSslKey(test::ReadFile(dir.filePath("key.pem")), QSsl::Rsa));
        QSslServer server;
        server.setSslConfiguration(tls);
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        SyncEngine engine(db, folder.path() + "Backups", "1");
        SyncResult result;
        bool done = false;
        connect(&engine, &SyncEngine::finished, [&](const SyncResult& r) {
            result = r;
            done = true;
        });
        engine.start(
            {QStringLiteral("https://127.0.0.1:%1/cal/").arg(server.serverPort()), "u", "p"});
        QVERIFY(QTest::qWaitFor([&] { return done; }, 60000));
        QVERIFY2(
            result.failure.startsWith("The server's certificate is not trusted by this system"),
            qPrintable(result.failure));
    }

    // Two syncs settling a conflict in the same second: two files, each
    // with its own losing version.
    void conflictFilesNeverReplaceEachOther() {
        Clock::SetForTesting([] { return QDateTime(QDate(2026, 12, 10), QTime(9, 0, 0)); });
        test::HttpStub stub;
        stub.answer = [](const test::HttpStub::Request& r) -> Answer {
            if (r.method == "PUT")
                return {412, {}, {}};
            if (r.method == "GET")
                return {200,
                        QByteArray(vtodo("{S}", "Theirs"))
                            .replace("SUMMARY", "LAST-MODIFIED:20300101T000000Z\r\nSUMMARY"),
                        {{"ETag", "\"9\""}}};
            return taskList(r, {});
        };
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        SyncEngine engine(db, folder.path() + "Backups", "1");
        QStringList files;
        for (const char* mine : {"First of mine", "Second of mine"}) {
            test::InsertTask(db, test::Task("{S}", "root", mine));
            bool done = false;
            const auto c = connect(&engine, &SyncEngine::finished, [&](const SyncResult& r) {
                files << r.conflictFile;
                done = true;
            });
            engine.start({stub.address("/cal/"), "u", "p"});
            QVERIFY(QTest::qWaitFor([&] { return done; }, 60000));
            disconnect(c);
            db.exec(QStringLiteral("delete from tasks; delete from sync_items"));
        }
        Clock::SetForTesting({});
        QCOMPARE(files.size(), 2);
        QVERIFY(files[0] != files[1]);
        QVERIFY(test::ReadFile(files[0]).contains("SUMMARY:First of mine"));
        QVERIFY(test::ReadFile(files[1]).contains("SUMMARY:Second of mine"));
    }
};

QTEST_GUILESS_MAIN(TestSyncHostile)
#include "test_sync_hostile.moc"
