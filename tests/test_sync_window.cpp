#include "FrameHarness.h"
#include "RadicaleServer.h"
#include "components/ZvStatusBar.h"
#include "core/SafetyCopies.h"
#include "dialogs/SyncPage.h"
#include "dialogs/TOptionsDlg.h"
#include "platform/IniFile.h"
#include "sync/SyncEngine.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

namespace {

void setAccount(const test::ProgramFolder& f, const test::RadicaleServer& s, int user = 0) {
    const IniFile ini(f.configPath());
    ini.writeStrings(QStringLiteral("sync"), {{QStringLiteral("address"), s.address()},
                                              {QStringLiteral("user"), s.Users[user]},
                                              {QStringLiteral("interval"), QStringLiteral("0")}});
}

// The top-level row of a text: the rows' order is the view's, not the server's.
QModelIndex rowOf(const test::Program& p, const QString& text) {
    for (int r = 0; r < p.frame->model()->rowCount(); ++r)
        if (p.row(r).data().toString() == text)
            return p.row(r);
    return {};
}

// A Radicale of the test's own, its password given at every prompt (counted).
struct Server : test::RadicaleServer {
    int asked = 0;
    bool started = false;
    Server() {
        started = start();
        SetPasswordPromptHandler([this](const QString&) {
            ++asked;
            return std::optional<QString>(QString::fromLatin1(Password));
        });
    }
    ~Server() { SetPasswordPromptHandler({}); }
};

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
        Server server;
        QVERIFY(server.started);
        test::ProgramFolder a, b;
        test::Fill(a.path(), {test::Task("{A}", "root", "Plan the trip"),
                              test::Task("{B}", "root", "Return it's books")});
        setAccount(a, server);
        setAccount(b, server);
        {
            test::Program p(a.path());
            p.show();
            QVERIFY(statusSays(p, "Synchronized: 2 sent, 0 received"));
            QCOMPARE(server.asked, 1);
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
    }

    // Without a secret store the password lives in memory: Options left
    // with its field untouched keeps it.
    void optionsKeepThePasswordKnown() {
        Server server;
        QVERIFY(server.started);
        test::ProgramFolder a;
        setAccount(a, server, 3);
        test::Program p(a.path());
        p.show();
        QVERIFY(statusSays(p, "Synchronized: 0 sent, 0 received"));
        test::WhenModal<TOptionsDlg> options([](TOptionsDlg* d) {
            d->page_Sync->findChild<QSpinBox*>()->setValue(30);
            d->Btn_Ok->click();
        });
        p.common->Action_Options->trigger();
        QCOMPARE(options.count, 1);
        p.frame->ZvStatusBar1->setPanelText({});
        QVERIFY(statusSays(p, "Synchronized: 0 sent, 0 received"));
        QCOMPARE(server.asked, 1);
    }

    // Test connection offers the server's lists; another one chosen, the
    // next sync asks what becomes of the tasks here.
    void anotherListIsChosenOnTheSyncPage() {
        Server server;
        QVERIFY(server.started);
        QCOMPARE(server.makeCalendar(4, "a-work/", Dav::MakeCalendar("Work")), 201);
        QCOMPARE(server.makeCalendar(4, "b-home/", Dav::MakeCalendar("Home")), 201);
        test::ProgramFolder a;
        test::Fill(a.path(), {test::Task("{W}", "root", "For work")});
        setAccount(a, server, 4);
        test::Program p(a.path());
        p.show();
        QVERIFY(statusSays(p, "Synchronized: 1 sent, 0 received"));
        QString offered;
        test::WhenModal<TOptionsDlg> options([&](TOptionsDlg* d) {
            SyncPage* page = d->page_Sync;
            page->Btn_Test->click();
            (void)QTest::qWaitFor([&] { return page->cmb_List->count() == 3; }, 20000);
            offered = page->cmb_List->itemText(2);
            page->cmb_List->setCurrentIndex(2);
            d->Btn_Ok->click();
        });
        p.boxes.answer = IDSECOND; // replace them
        p.frame->ZvStatusBar1->setPanelText({});
        p.common->Action_Options->trigger();
        QCOMPARE(options.count, 1);
        QCOMPARE(offered, QStringLiteral("Home (/eve/b-home/)"));
        QVERIFY(statusSays(p, "Synchronized: 0 sent, 0 received"));
        QVERIFY(p.boxes.shown.last().text.contains("Send the tasks here to"));
        QCOMPARE(test::Outline(*p.frame->model()), QString());
        QCOMPARE(SafetyCopies::List(a.path()).size(), 1);
        QVERIFY(IniFile(a.configPath()).readString("sync", "list", {}).endsWith("/b-home/"));
    }

    // A sync landing while the Delete question waits: it waits for the
    // answer, and the rows asked about are the ones deleted.
    void aSyncWaitsForTheQuestion() {
        Server server;
        QVERIFY(server.started);
        test::ProgramFolder a;
        test::Fill(a.path(),
                   {test::Task("{K}", "root", "Keep me"), test::Task("{D}", "root", "Delete me")});
        setAccount(a, server, 1);
        test::Program p(a.path());
        p.show();
        QVERIFY(statusSays(p, "Synchronized: 2 sent, 0 received"));
        server.client(1, {"add", "{S}", "From the phone"});
        auto* engine = p.mainFm->findChild<SyncEngine*>();
        bool postponed = false, landed = false;
        connect(engine, &SyncEngine::finished, this, [&](const SyncResult& r) {
            postponed = r.postponed;
            landed = true;
        });
        SetMessageBoxHandler([&](const QString&, const QString&, int) {
            (void)QTest::qWaitFor([&] { return landed; }, 60000);
            return int(IDOK);
        });
        const TaskNode* kept = p.frame->model()->nodeAt(rowOf(p, "Keep me"));
        p.select({rowOf(p, "Delete me")});
        p.mainFm->Action_Sync->trigger(); // under way when the question comes
        p.frame->Action_TaskDelete->trigger();
        QVERIFY(landed);
        QVERIFY(postponed);
        QVERIFY(statusSays(p, "Synchronized: 1 sent, 1 received"));
        QCOMPARE(test::Outline(*p.frame->model()), "Keep me From the phone");
        // Only the rows the server wrote changed: the others were not read again.
        QCOMPARE(p.frame->model()->nodeAt(rowOf(p, "Keep me")), kept);
        QVERIFY(!server.client(1, {"list"}).contains("Delete me"));
    }

    // A parent deleted on the server and brought back by an edit on
    // another device takes its sub-task back here too.
    void aParentBroughtBackTakesItsSubTask() {
        Server server;
        QVERIFY(server.started);
        test::ProgramFolder a, b;
        test::Fill(a.path(),
                   {test::Task("{P}", "root", "Parent"), test::Task("{S}", "{P}", "Child")});
        setAccount(a, server, 2);
        setAccount(b, server, 2);
        const auto run = [&](const test::ProgramFolder& f, const char* says,
                             const std::function<void(test::Program&)>& then = {}) {
            test::Program p(f.path());
            p.show();
            QVERIFY2(statusSays(p, says), qPrintable(p.frame->ZvStatusBar1->panelText()));
            if (then)
                then(p);
        };
        run(a, "Synchronized: 2 sent, 0 received");
        // b edits the parent and goes before its change is sent.
        run(b, "Synchronized: 0 sent, 2 received", [](test::Program& p) {
            p.frame->model()->setData(rowOf(p, "Parent"), Qt::Checked, Qt::CheckStateRole);
        });
        server.client(2, {"delete", "{P}"});
        run(a, "Synchronized: 0 sent, 1 received",
            [](test::Program& p) { QCOMPARE(test::Outline(*p.frame->model()), "Child"); });
        run(b, "Synchronized: 1 sent, 0 received",
            [](test::Program& p) { QCOMPARE(test::Outline(*p.frame->model()), "Parent(Child)"); });
        run(a, "Synchronized: 0 sent, 1 received",
            [](test::Program& p) { QCOMPARE(test::Outline(*p.frame->model()), "Parent(Child)"); });
        QVERIFY(server.client(2, {"parents"}).contains("{S}|{P}"));
    }
};

QTEST_MAIN(TestSyncWindow)
#include "test_sync_window.moc"
