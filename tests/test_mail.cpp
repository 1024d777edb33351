#include "FrameHarness.h"
#include "components/ZvSndMsg.h"

#include <QDir>
#include <QProcess>
#include <sys/stat.h>

namespace {

// Records every call; answers with the codes it is given.
struct FakeTransport : MailTransport {
    QStringList calls;
    int logonResult = 0, sendResult = 0;
    QString failResolving; // the name whose resolution fails with 14
    MailMessage sent;
    unsigned sentFlags = 0;
    int logon(const QString& profile, const QString&, unsigned flags,
              unsigned long& session) override {
        calls << QStringLiteral("logon %1 0x%2").arg(profile).arg(flags, 2, 16, QChar(u'0'));
        session = 42;
        return logonResult;
    }
    int logoff(unsigned long session) override {
        calls << QStringLiteral("logoff %1").arg(session);
        return 0;
    }
    int resolveName(unsigned long, const QString& name, unsigned flags, MailRecipient& r) override {
        calls << QStringLiteral("resolve %1 0x%2").arg(name).arg(flags, 2, 16, QChar(u'0'));
        if (name == failResolving)
            return 14;
        r.name = name.toUpper();
        r.address = QStringLiteral("SMTP:") + name + QStringLiteral("@example.org");
        r.entryId = name.toUtf8();
        return 0;
    }
    int sendMail(unsigned long, const MailMessage& m, unsigned flags) override {
        calls << QStringLiteral("send 0x%1").arg(flags, 2, 16, QChar(u'0'));
        sent = m;
        sentFlags = flags;
        return sendResult;
    }
    void freeBuffer(const MailRecipient& r) override { calls << "free " + r.name; }
};

// The component with a fake transport the test keeps a view of.
struct Mail {
    FakeTransport* fake = new FakeTransport;
    TZvSendMessage msg{nullptr, std::unique_ptr<MailTransport>(fake)};
};

} // namespace

class TestMail : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { test::FixGuiEnvironment(); }

    void defaultsAndLogonFlags() {
        Mail m;
        QVERIFY(m.msg.Review && m.msg.ResolveNames);
        QCOMPARE(m.msg.mailSession(), 0ul);
        m.msg.Send();
        m.msg.Send(); // two sends log on once
        QCOMPARE(m.fake->calls, QStringList({"logon  0x49", "send 0x09", "send 0x09"}));
        m.msg.Logoff();
        m.msg.ProfileName = QStringLiteral("work");
        m.msg.Send();
        QCOMPARE(m.fake->calls.mid(3), QStringList({"logoff 42", "logon work 0x09", "send 0x09"}));
    }

    void messageIsBuilt() {
        Mail m;
        m.msg.Subject = QStringLiteral("To-Do List");
        m.msg.MessageText = {"one", "two"};
        m.msg.Attachments = {QStringLiteral("rel.html"), m_dir.filePath("abs.zvx")};
        m.msg.ToRecipients = {"ann"};
        m.msg.CcRecipients = {"bob"};
        m.msg.BccRecipients = {"cy"};
        m.msg.Send();
        QCOMPARE(m.fake->sent.subject, QStringLiteral("To-Do List"));
        QCOMPARE(m.fake->sent.noteText, QStringLiteral("one\r\ntwo\r\n"));
        QCOMPARE(m.fake->sent.files, QStringList({QDir::current().absoluteFilePath("rel.html"),
                                                  m_dir.filePath("abs.zvx")}));
        QCOMPARE(m.fake->sent.recipients.size(), size_t(3));
        QCOMPARE(m.fake->sent.recipients[1].recipClass, 2);
        QCOMPARE(m.fake->sent.recipients[2].address, QStringLiteral("SMTP:cy@example.org"));
        // Resolved with the dialog allowed, then freed after the send.
        QCOMPARE(m.fake->calls,
                 QStringList({"logon  0x49", "resolve ann 0x09", "resolve bob 0x09",
                              "resolve cy 0x09", "send 0x09", "free ANN", "free BOB", "free CY"}));
        // Linked editors win over the texts; a destroyed link is cleared.
        auto* edit = new QLineEdit(QStringLiteral("from the edit"));
        auto* memo = new QPlainTextEdit(QStringLiteral("a\nb"));
        m.msg.SubjectEdit = edit;
        m.msg.MessageMemo = memo;
        m.msg.Send();
        QCOMPARE(m.fake->sent.subject, QStringLiteral("from the edit"));
        QCOMPARE(m.fake->sent.noteText, QStringLiteral("a\r\nb\r\n"));
        delete edit;
        delete memo;
        QVERIFY(!m.msg.SubjectEdit && !m.msg.MessageMemo);
        m.msg.Clear();
        QVERIFY(m.msg.ToRecipients.isEmpty() && m.msg.Attachments.isEmpty() &&
                m.msg.MessageText.isEmpty());
        QCOMPARE(m.msg.Subject, QStringLiteral("To-Do List"));
    }

    void unresolvedNamesAndQuietSends() {
        Mail m;
        m.msg.ResolveNames = false;
        m.msg.Review = false;
        m.msg.ToRecipients = {"ann@example.org"};
        m.msg.Send();
        QCOMPARE(m.fake->sentFlags, 0x01u); // sent without the compose window
        QCOMPARE(m.fake->sent.recipients[0].name, QStringLiteral("ann@example.org"));
        QCOMPARE(m.fake->sent.recipients[0].address, QStringLiteral("SMTP:ann@example.org"));
        for (const QString& c : m.fake->calls)
            QVERIFY(!c.startsWith(QLatin1String("resolve")) &&
                    !c.startsWith(QLatin1String("free")));
        m.msg.ToRecipients.clear();
        m.msg.Send();
        QCOMPARE(m.fake->sentFlags, 0x09u); // no recipient: the user fills it in
    }

    void aFailedResolutionFreesWhatWasResolved() {
        Mail m;
        m.msg.Review = false;
        m.msg.ToRecipients = {"ann", "bad", "cy"};
        m.fake->failResolving = QStringLiteral("bad");
        try {
            m.msg.Send();
            QFAIL("no error");
        } catch (const EMapiError& e) {
            QCOMPARE(e.code(), 14);
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("MAPI: Unknown Recipient. ErrorCode = 14"));
        }
        QCOMPARE(m.fake->calls,
                 QStringList({"logon  0x49", "resolve ann 0x01", "resolve bad 0x01", "free ANN"}));
    }

    void errorCodes_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        const char* texts[] = {
            "General Failure",      "Login Failure",           "Disk Full",
            "Insufficient Memory",  "Access Denied",           "Unknown Error",
            "Too Many Sessions",    "Too Many Files",          "Too Many Recipients",
            "Attachment Not Found", "Attachment Open Failure", "Attachment Write Failure",
            "Unknown Recipient",    "Bad Recipient Type",      "No Messages",
            "Invalid Message",      "Text Too Large",          "Invalid Session",
            "Type Not Supported",   "Ambiguous Recipient",     "Message In Use",
            "Network Failure",      "Invalid Edit Fields",     "Invalid Recipients",
            "Feature Not Supported"};
        for (int code = 2; code <= 26; ++code)
            QTest::newRow(qPrintable(QString::number(code))) << code << texts[code - 2];
        QTest::newRow("27") << 27 << "Unknown Error";
        QTest::newRow("1000") << 1000 << "Unknown Error";
        QTest::newRow("1") << 1 << "User Abort";
    }
    void errorCodes() {
        QFETCH(int, code);
        QFETCH(QString, text);
        Mail m;
        m.fake->sendResult = code;
        try {
            m.msg.Send();
            QFAIL("no error");
        } catch (const EMapiUserAbort& e) {
            QCOMPARE(code, 1);
            QCOMPARE(QString::fromUtf8(e.what()), text);
        } catch (const EMapiError& e) {
            QCOMPARE(e.code(), code);
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("MAPI: %1. ErrorCode = %2").arg(text).arg(code));
        }
    }

    // The desktop's xdg-email, here a stand-in that records what it is
    // given; it is not waited for, and its end is reported.
    void xdgEmailGetsTheMessage() {
        const QString bin = m_dir.filePath("bin");
        QDir().mkpath(bin);
        const QString log = m_dir.filePath("args.txt");
        QFile script(bin + "/xdg-email");
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(
            QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '%1'; done\n"
                           "read go < '%2'\nexit $go\n")
                .arg(log, m_dir.filePath("go"))
                .toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.toUtf8());
        QVERIFY(::mkfifo(QFile::encodeName(m_dir.filePath("go")).constData(), 0600) == 0);
        auto transport = MakeXdgEmailTransport();
        QList<int> ends;
        transport->finished = [&](int code) { ends << code; };
        MailMessage m;
        m.subject = QStringLiteral("To-Do List");
        m.noteText = QStringLiteral("line\r\n");
        m.files = {QStringLiteral("/t/Tasks.html"), QStringLiteral("/t/Tasks.zvx")};
        m.recipients = {{1, "ann", "SMTP:ann@example.org", {}, false},
                        {2, "bob", "bob@example.org", {}, true}};
        QCOMPARE(transport->sendMail(1, m, 0x09), 0); // while the mail program still runs
        QVERIFY(ends.isEmpty());
        QFile go(m_dir.filePath("go"));
        QVERIFY(go.open(QIODevice::WriteOnly));
        go.write("3\n");
        go.close();
        QTRY_COMPARE(ends, QList<int>{2});
        QFile recorded(log);
        QVERIFY(recorded.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(recorded.readAll()).split(u'\n'),
                 QStringList({"--subject", "To-Do List", "--body", "line", "", "--attach",
                              "/t/Tasks.html", "--attach", "/t/Tasks.zvx", "--cc",
                              "bob@example.org", "ann@example.org", ""}));
        qputenv("PATH", m_dir.filePath("nowhere").toUtf8());
        QCOMPARE(transport->sendMail(1, m, 0x09), 1); // no mail program
        qputenv("PATH", path);
    }

    // E-mail Task writes both work files and hands them over; a missing Temp
    // folder stops it with the writer's message and no mail.
    void emailCommand() {
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            test::InsertTask(db, test::Task("{A}", "root", "apple"));
        }
        auto* fake = new FakeTransport;
        SetMailTransportFactory([&] { return std::unique_ptr<MailTransport>(fake); });
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        SetMailTransportFactory({});
        f->Action_Email->trigger(); // nothing selected: no empty mail
        QCOMPARE(p.boxes.texts(), QStringList({"Please select a task!"}));
        QVERIFY(fake->sent.subject.isEmpty());
        p.boxes.shown.clear();
        p.select({p.row(0)});
        f->Action_Email->trigger();
        const QString temp = folder.path() + "Temp/";
        QVERIFY(QFile::exists(temp + "Tasks.html") && QFile::exists(temp + "Tasks.zvx"));
        QCOMPARE(fake->sent.subject, QStringLiteral("To-Do List"));
        QCOMPARE(fake->sent.noteText,
                 QStringLiteral("Tasks.html: HTML file, you can open it with website browser.\r\n"
                                "Tasks.zvx: Zarvik data file, you can import it into Zarvik "
                                "software directly.\r\n"));
        QCOMPARE(fake->sent.files, QStringList({temp + "Tasks.html", temp + "Tasks.zvx"}));
        QVERIFY(p.boxes.shown.isEmpty());

        fake->sendResult = 1; // the user cancels: nothing is shown
        f->Action_Email->trigger();
        QVERIFY(p.boxes.shown.isEmpty());

        QDir(temp).removeRecursively();
        const int sends = int(fake->calls.count("send 0x09"));
        f->Action_Email->trigger();
        QCOMPARE(p.boxes.texts(), QStringList({"File write failure!"}));
        QCOMPARE(int(fake->calls.count("send 0x09")), sends);
    }
};

QTEST_MAIN(TestMail)
#include "test_mail.moc"
