#include "FrameHarness.h"
#include "app/CommandLine.h"
#include "components/zvHHComp.h"
#include "dialogs/TAboutDlg.h"
#include "dialogs/TupdateDlg.h"
#include "platform/IniFile.h"
#include "platform/WebSite.h"
#include "platform/pU_Funcs.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Stands in for the desktop's handlers: records every address opened.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

const QDateTime kVisit(QDate(2026, 3, 1), QTime(9, 0, 0));

QString visitWeb(const test::ProgramFolder& folder) {
    return IniFile(folder.configPath()).readString("option", "visitWeb", QString());
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
    UrlRecorder m_opened;
    QDateTime m_now;

private slots:
    void initTestCase() {
        test::FixGuiEnvironment();
        for (const char* scheme : {"https", "mailto", "file"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), &m_opened, "open");
    }
    void init() {
        m_opened.urls.clear();
        m_now = kVisit;
        Clock::SetForTesting([this] { return m_now; });
    }
    void cleanup() { Clock::SetForTesting({}); }
    void cleanupTestCase() {
        for (const char* scheme : {"https", "mailto", "file"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }

    // Answered before any window; the toolkit's own options start it.
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status"); // -1: the program starts
        QTest::newRow("none") << QStringList() << -1;
        QTest::newRow("version") << QStringList{"--version"} << 0;
        QTest::newRow("help") << QStringList{"-h"} << 0;
        QTest::newRow("toolkit's") << QStringList{"-platform", "offscreen"} << -1;
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 1;
        QTest::newRow("stray word") << QStringList{"tasks"} << 1;
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QCOMPARE(CommandLine::Answer(QStringList{"tasquel"} + arguments).value_or(-1), status);
    }

    void pageAddress_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("privateTasks");
        QTest::addColumn<int>("publicTasks");
        QTest::addColumn<QString>("address");
        QTest::newRow("index, none")
            << "/index.htm" << 0 << 0 << "https://www.zarvik.example/index.htm?id=tl-p-0&t=0-0";
        QTest::newRow("resources")
            << "/resources.htm" << 12345 << 0
            << "https://www.zarvik.example/resources.htm?id=tl-p-0&t=12345-0";
        QTest::newRow("public count")
            << "/index.htm" << 3 << 7 << "https://www.zarvik.example/index.htm?id=tl-p-0&t=3-7";
    }
    void pageAddress() {
        QFETCH(QString, path);
        QFETCH(int, privateTasks);
        QFETCH(int, publicTasks);
        QFETCH(QString, address);
        QCOMPARE(WebSite::PageAddress(path, 0, privateTasks, publicTasks), address);
    }

    // Each Help command opens its address; only the web pages count as a
    // visit, and the window's own visit time stays as read at start.
    void helpMenuCommands_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<bool>("visit");
        const QString site = "https://www.zarvik.example";
        QTest::newRow("website") << "Action_Website" << site + "/index.htm?id=tl-p-0&t=3-0" << true;
        QTest::newRow("update") << "Action_Update" << site + "/index.htm?id=tl-p-0&t=3-0" << true;
        QTest::newRow("resources")
            << "Action_Resources" << site + "/resources.htm?id=tl-p-0&t=3-0" << true;
        QTest::newRow("contact") << "Action_Contact"
                                 << "mailto:support@zarvik.example" << false;
        QTest::newRow("suggestion") << "Action_Suggestion"
                                    << "mailto:support@zarvik.example" << false;
    }
    void helpMenuCommands() {
        QFETCH(QString, action);
        QFETCH(QString, opened);
        QFETCH(bool, visit);
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            for (const char* tid : {"a", "it's", "c"})
                test::InsertTask(db, test::Task(tid, "", "task"));
        }
        IniFile(folder.configPath())
            .writeString("option", "visitWeb", FormatIsoDateTime(ToDateTime(kVisit)));
        test::Program p(folder.path());
        p.show();
        m_now = kVisit.addDays(3).addSecs(17);
        p.common->findChild<QAction*>(action)->trigger();
        QCOMPARE(m_opened.urls, QList<QUrl>({QUrl(opened)}));
        QCOMPARE(visitWeb(folder), FormatIsoDateTime(ToDateTime(visit ? m_now : kVisit)));
        QCOMPARE(FromDateTime(p.mainFm->options().visitWebTime), kVisit);
        QVERIFY(p.boxes.shown.isEmpty());
    }

    // A failing handler is not the program's to report.
    void missingHandlerShowsNothing() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        p.show();
        QDesktopServices::unsetUrlHandler("https");
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", "/nonexistent"); // no browser to start
        p.common->Action_Website->trigger();
        qputenv("PATH", path);
        QDesktopServices::setUrlHandler("https", &m_opened, "open");
        QVERIFY(p.boxes.shown.isEmpty());
        QCOMPARE(visitWeb(folder), FormatIsoDateTime(ToDateTime(m_now)));
    }

    void contentsAndF1OpenTheHelpFile() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        p.show();
        const QUrl help = QUrl::fromLocalFile(folder.path() + "tasquel-help.html");
        QVERIFY(p.common->HelpContents1->isEnabled());
        QCOMPARE(p.common->HelpContents1->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(p.common->HelpContents1->statusTip(), QStringLiteral("Help Contents"));
        p.common->HelpContents1->trigger();
        QCOMPARE(m_opened.urls, QList<QUrl>({help}));
        // From the tree, the shortcut reaches the menu first: the contents.
        p.mainFm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p.mainFm.get()));
        p.tree()->setFocus();
        QTest::keyClick(p.tree(), Qt::Key_F1);
        QCOMPARE(m_opened.urls, QList<QUrl>({help, help}));
        QVERIFY(QFile::exists(help.toLocalFile()));
    }

    // The component on a form of its own: the topic chain, the modifiers,
    // and every key handed on to the form's own handler once.
    void helpComponentOnAForm_data() {
        QTest::addColumn<QString>("editTopic");
        QTest::addColumn<QString>("groupTopic");
        QTest::addColumn<QString>("formTopic");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("control's own") << "edit"
                                       << "group"
                                       << "form"
                                       << "edit";
        QTest::newRow("its owner's") << ""
                                     << "group"
                                     << "form"
                                     << "group";
        QTest::newRow("the form's") << ""
                                    << ""
                                    << "form"
                                    << "form";
        QTest::newRow("none") << ""
                              << ""
                              << ""
                              << "";
    }
    void helpComponentOnAForm() {
        QFETCH(QString, editTopic);
        QFETCH(QString, groupTopic);
        QFETCH(QString, formTopic);
        QFETCH(QString, fragment);
        QWidget form;
        auto* group = new QGroupBox(&form);
        auto* edit = new QLineEdit(group);
        (new QVBoxLayout(group))->addWidget(edit);
        (new QVBoxLayout(&form))->addWidget(group);
        TZVHHComp::SetHelpContext(edit, editTopic);
        TZVHHComp::SetHelpContext(group, groupTopic);
        TZVHHComp::SetHelpContext(&form, formTopic);
        auto* help = new TZVHHComp(&form);
        help->HelpFile = "sub/help.html";
        QStringList seen;
        help->OnKeyDown = [&](QKeyEvent* e) {
            if (e->key() != Qt::Key_Shift && e->key() != Qt::Key_Control && e->key() != Qt::Key_Alt)
                seen << QKeySequence(e->keyCombination()).toString();
        };
        help->Loaded("/opt/prog/");
        QCOMPARE(help->fullPath(), QStringLiteral("/opt/prog/sub/help.html"));
        form.show();
        edit->setFocus();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QTest::keyClick(edit, Qt::Key_F1);
        QUrl expected = QUrl::fromLocalFile("/opt/prog/sub/help.html");
        if (!fragment.isEmpty())
            expected.setFragment(fragment);
        QCOMPARE(m_opened.urls, QList<QUrl>({expected}));
        for (auto mod : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
            QTest::keyClick(edit, Qt::Key_F1, mod);
        QTest::keyClick(edit, Qt::Key_X);
        QCOMPARE(m_opened.urls.size(), 1);
        QCOMPARE(edit->text(), QStringLiteral("x")); // other keys still reach the control
        QCOMPARE(seen, QStringList({"F1", "Shift+F1", "Ctrl+F1", "Alt+F1", "X"}));

        help->HelpFile.clear(); // F1 is still taken, nothing is opened
        QTest::keyClick(edit, Qt::Key_F1);
        QCOMPARE(m_opened.urls.size(), 1);
        QCOMPARE(seen.size(), 6);
    }

    void aboutBox() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        p.show();
        TAboutDlg about(p.mainFm->context(), p.mainFm.get());
        QCOMPARE(about.windowTitle(), QStringLiteral("About..."));
        QCOMPARE(about.Label_AppName->text(), QStringLiteral("Zarvik Tasquel"));
        QVERIFY(about.Label_AppName->font().bold());
        QCOMPARE(about.lbl_version->text(), QStringLiteral("Lite 1.7.5.30"));
        QVERIFY(!about.Image_App->pixmap().isNull());
        QCOMPARE(about.Image_App->size(), QSize(65, 65));
        QVERIFY(about.lbl_web->text().contains("www.zarvik.example"));
        QCOMPARE(about.lbl_web->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!(about.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(about.minimumSize(), about.maximumSize());
        emit about.lbl_web->linkActivated("go");
        emit about.lbl_support->linkActivated("go");
        emit about.lbl_Sales->linkActivated("go");
        QCOMPARE(m_opened.urls,
                 QList<QUrl>({QUrl("https://www.zarvik.example/index.htm?id=tl-p-0&t=0-0"),
                              QUrl("mailto:support@zarvik.example"),
                              QUrl("mailto:sales@zarvik.example")}));
        QCOMPARE(visitWeb(folder), FormatIsoDateTime(ToDateTime(m_now)));
        QVERIFY(p.boxes.shown.isEmpty());

        // Through the Help menu: shown modally, closed by its button.
        test::WhenModal<TAboutDlg> close([](TAboutDlg* d) { d->Btn_Close->click(); });
        p.common->Action_About->trigger();
        QCOMPARE(close.count, 1);
    }

    void aboutBoxWithoutItsPicture() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        p.show();
        QVERIFY(QFile::remove(folder.path() + "Images/appIcon.png"));
        TAboutDlg about(p.mainFm->context(), p.mainFm.get());
        QCOMPARE(p.boxes.texts(),
                 QStringList({"Cannot open file \"" + folder.path() +
                              "Images/appIcon.png\". The file could not be read."}));
        QVERIFY(about.Image_App->isHidden());
        QCOMPARE(about.lbl_version->text(), QStringLiteral("Lite 1.7.5.30"));
    }

    // Starts of the program, each some days after the first visit, with
    // what the user does with the prompt when it comes: yes, no, tick (the
    // box, then no) or twice (tick and clear, then no).
    void updatePromptAcrossStarts_data() {
        QTest::addColumn<QList<int>>("days");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QList<bool>>("shown");
        QTest::newRow("90 days is not more than 90")
            << QList<int>{90, 91} << QStringList{"no", "no"} << QList<bool>{false, true};
        QTest::newRow("no asks again") << QList<int>{91, 92, 93} << QStringList{"no", "no", "no"}
                                       << QList<bool>{true, true, true};
        QTest::newRow("yes waits 90 days from then")
            << QList<int>{91, 92, 181, 182} << QStringList{"yes", "no", "no", "no"}
            << QList<bool>{true, false, false, true};
        QTest::newRow("ticked stays off")
            << QList<int>{91, 92, 400} << QStringList{"tick", "no", "no"}
            << QList<bool>{true, false, false};
        QTest::newRow("ticked and cleared stays on")
            << QList<int>{91, 92} << QStringList{"twice", "no"} << QList<bool>{true, true};
    }
    void updatePromptAcrossStarts() {
        QFETCH(QList<int>, days);
        QFETCH(QStringList, answers);
        QFETCH(QList<bool>, shown);
        test::ProgramFolder folder;
        IniFile(folder.configPath())
            .writeString("option", "visitWeb", FormatIsoDateTime(ToDateTime(kVisit)));
        for (int i = 0; i < days.size(); ++i) {
            m_now = kVisit.addDays(days[i]).addSecs(3600);
            const QString answer = answers[i];
            test::WhenModal<TupdateDlg> prompt([&](TupdateDlg* d) {
                QVERIFY(d->Timer1->isActive());
                if (answer == "tick" || answer == "twice")
                    d->cb_ask->click();
                if (answer == "twice")
                    d->cb_ask->click();
                (answer == "yes" ? d->btn_Yes : d->btn_No)->click();
            });
            test::Program p(folder.path());
            p.show();
            QCOMPARE(prompt.count, shown[i] ? 1 : 0);
            QVERIFY(p.boxes.shown.isEmpty());
        }
    }

    // Left alone, the prompt answers No after five seconds on the real
    // timer, and the window it kept up stays up.
    void unansweredPromptClosesItself() {
        test::ProgramFolder folder;
        const IniFile ini(folder.configPath());
        ini.writeString("option", "visitWeb", FormatIsoDateTime(ToDateTime(kVisit)));
        ini.writeBool("option", "runMinimizedEn", true);
        m_now = kVisit.addDays(100);
        QString title, question;
        QElapsedTimer clock;
        test::WhenModal<TupdateDlg> prompt([&](TupdateDlg* d) {
            title = d->windowTitle();
            const auto labels = d->findChildren<QLabel*>();
            for (QLabel* l : labels)
                if (l->objectName() == "Label2")
                    question = l->text();
            QVERIFY(d->btn_Yes->font().bold());
            QCOMPARE(d->cb_ask->text(), QStringLiteral("Do not &ask me again."));
            QVERIFY(!d->cb_ask->isChecked());
        });
        clock.start();
        test::Program p(folder.path());
        p.show();
        QCOMPARE(prompt.count, 1);
        QVERIFY(clock.elapsed() >= 5000);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(title, QStringLiteral("Zarvik Update"));
        QCOMPARE(question, QStringLiteral("Would you like to see more information about these "
                                          "updates and how to obtain them? "));
        test::Program::afterPosted(); // no minimise follows
        QVERIFY(p.mainFm->isVisible() && !p.mainFm->isMinimized());
        QVERIFY(!p.mainFm->options().runMinimizedEn);
        QVERIFY(ini.readBool("option", "runMinimizedEn", false));          // only for this run
        QCOMPARE(visitWeb(folder), FormatIsoDateTime(ToDateTime(kVisit))); // No writes nothing
        QVERIFY(m_opened.urls.isEmpty());
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
