#include "FrameHarness.h"
#include "RadicaleServer.h"
#include "components/ZvStatusBar.h"
#include "platform/IniFile.h"

#include <QAction>

namespace {

void setAccount(const test::ProgramFolder& f, const test::RadicaleServer& s) {
    const IniFile ini(f.configPath());
    ini.writeStrings(QStringLiteral("sync"), {{QStringLiteral("address"), s.address()},
                                              {QStringLiteral("user"), s.Users[0]},
                                              {QStringLiteral("interval"), QStringLiteral("0")}});
}

// The top-level row of a text: the rows' order is the view's, not the server's.
QModelIndex rowOf(const test::Program& p, const QString& text) {
    for (int r = 0; r < p.frame->model()->rowCount(); ++r)
        if (p.row(r).data().toString() == text)
            return p.row(r);
    return {};
}

bool statusSays(const test::Program& p, const QString& text) {
    return QTest::qWaitFor([&] { return p.frame->ZvStatusBar1->panelText() == text; }, 60000);
}

} // namespace

// The program as a user meets it: the account set, it syncs at the start,
// soon after a change and with F5, and the tree shows what came in.
class TestSyncWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        test::FixGuiEnvironment();
        qunsetenv("DBUS_SESSION_BUS_ADDRESS"); // no secret store: the password is asked
    }

    void twoWindowsStayInStep() {
        test::RadicaleServer server;
        QVERIFY(server.start());
        int asked = 0;
        SetPasswordPromptHandler([&](const QString&) {
            ++asked;
            return std::optional<QString>(QString::fromLatin1(server.Password));
        });
        test::ProgramFolder a, b;
        test::Fill(a.path(), {test::Task("{A}", "root", "Plan the trip"),
                              test::Task("{B}", "root", "Return it's books")});
        setAccount(a, server);
        setAccount(b, server);
        {
            test::Program p(a.path());
            p.show();
            QVERIFY(statusSays(p, "Synchronized: 2 sent, 0 received"));
            QCOMPARE(asked, 1);
        }
        {
            test::Program p(b.path());
            p.show();
            QVERIFY(statusSays(p, "Synchronized: 0 sent, 2 received"));
            QCOMPARE(test::Texts(*p.frame->model()).size(), 2);
            // A change here goes by itself a few seconds later.
            p.frame->model()->setData(rowOf(p, "Plan the trip"), Qt::Checked, Qt::CheckStateRole);
            QVERIFY(statusSays(p, "Synchronized: 1 sent, 0 received"));
        }
        {
            test::Program p(a.path());
            p.show();
            QVERIFY(statusSays(p, "Synchronized: 0 sent, 1 received"));
            // A step of this window survives the server's change, and F5 works.
            p.select({rowOf(p, "Return it's books")});
            p.frame->Action_TaskComplete->trigger();
            QVERIFY(p.frame->Action_Undo->isEnabled());
            p.mainFm->Action_Sync->trigger();
            QVERIFY(statusSays(p, "Synchronized: 1 sent, 0 received"));
            QVERIFY(p.frame->Action_Undo->isEnabled());
        }
        QCOMPARE(test::StoredRowOf(a.path(), "{A}").checked, true);
        QCOMPARE(test::StoredRowOf(a.path(), "{B}").checked, true);
        // Without the account, what was known of the server goes: changes
        // made meanwhile are not recorded.
        IniFile(a.configPath()).writeString(QStringLiteral("sync"), QStringLiteral("address"), {});
        { test::Program(a.path()).show(); }
        Database db;
        db.open(a.path());
        Query q(db);
        OpenQuery(q, QStringLiteral("select count(*) from sync_items"));
        QCOMPARE(q.integer(0), 0);
        SetPasswordPromptHandler({});
    }
};

QTEST_MAIN(TestSyncWindow)
#include "test_sync_window.moc"
