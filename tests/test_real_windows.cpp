#include "FrameHarness.h"
#include "app/TApplication.h"
#include "core/XmlTry.h"
#include "dialogs/Dlg_ReplaceAsk.h"
#include "dialogs/ProgressWindow.h"
#include "gui/pU_Boxes.h"
#include "tasks/TaskDialogs.h"

#include <QComboBox>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <pugixml.hpp>

namespace {

// Answers the real questions and boxes of a command as a user would: it
// waits past the progress window's delay, makes sure the window is on top
// and has the keyboard, then presses the key. Whatever stands in the way is
// noted, and the window is then closed by force so that the test ends.
class KeyAnswers : public QObject {
public:
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    KeyAnswers(Key boxKey, Key questionKey) : m_boxKey(boxKey), m_questionKey(questionKey) {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(20);
    }

    QStringList seen;   // "caption: text" of each answered window
    QStringList faults; // what a user would have met instead

private:
    static QDialog* openQuestion() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if ((qobject_cast<QMessageBox*>(w) || qobject_cast<TReplaceAskDlg*>(w)) &&
                w->isVisible())
                return static_cast<QDialog*>(w);
        return nullptr;
    }

    void note(const QString& fault) {
        if (!faults.contains(fault))
            faults << fault;
    }

    void poll() {
        QDialog* q = openQuestion();
        if (!q || q == m_answered) { // a mnemonic clicks a moment later
            m_since.invalidate();
            return;
        }
        if (!m_since.isValid()) {
            m_since.start();
            return;
        }
        // The first one waits long enough for a progress window to appear.
        const int wait = seen.isEmpty() && faults.isEmpty() ? TProgressWnd::ShowDelayMs + 300 : 50;
        if (m_since.elapsed() < wait)
            return;
        QWidget* focus = QApplication::focusWidget();
        const bool onTop = QApplication::activeModalWidget() == q;
        const bool hasKeys = q->isActiveWindow() && focus && focus->window() == q;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() &&
                (qobject_cast<TProgressWnd*>(w) || w->inherits("QProgressDialog")))
                note(QStringLiteral("a progress window is shown over ") + q->windowTitle());
        if (!onTop || !hasKeys) {
            if (m_since.elapsed() < 3000)
                return;
            note(QStringLiteral("not reachable: ") + q->windowTitle());
            q->reject();
            m_since.invalidate();
            return;
        }
        const Key k = qobject_cast<TReplaceAskDlg*>(q) ? m_questionKey : m_boxKey;
        const auto* box = qobject_cast<QMessageBox*>(q);
        seen << q->windowTitle() + QStringLiteral(": ") + (box ? box->text() : QString());
        m_since.invalidate();
        m_answered = q;
        connect(
            q, &QDialog::finished, this, [this] { m_answered = nullptr; },
            Qt::SingleShotConnection);
        QTest::keyClick(focus, k.key, k.modifiers);
    }

    Key m_boxKey, m_questionKey;
    QTimer m_timer;
    QElapsedTimer m_since;
    QPointer<QDialog> m_answered;
};

bool hasNoMinMaxButtons(const QWidget* w) {
    const Qt::WindowFlags f = w->windowFlags();
    return (f & Qt::CustomizeWindowHint) &&
           !(f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

} // namespace

class TestRealWindows : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() {
        test::FixGuiEnvironment();
        TApplication::Configure();
    }
    void cleanup() { SetFilePromptHandler({}); }

    // Restoring a backup over the database it came from asks first; the
    // question is on top with the keyboard, and All by key replaces them.
    void restoreOverItsOwnDatabaseIsAnsweredByKey() {
        const QString file = m_dir.filePath("own.zvx");
        SetFilePromptHandler([&](bool, const QString&) { return file; });
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            test::InsertTask(db, test::Task("{A}", "root", "apple"));
            test::InsertTask(db, test::Task("{B}", "root", "it's a pear"));
        }
        test::Program p(folder.path());
        p.show();
        SetMessageBoxHandler({}); // the real boxes from here on
        p.mainFm->Action_DbBackup->trigger();
        {
            Database db;
            db.open(folder.path());
            Query q(db);
            ExecQuery(q, QStringLiteral("update tasks set content='changed'"));
        }
        KeyAnswers answers({Qt::Key_Return, {}}, {Qt::Key_A, Qt::AltModifier});
        p.mainFm->Action_DbRestore->trigger();
        QCOMPARE(answers.faults, QStringList());
        QCOMPARE(answers.seen, QStringList({"Confirm Replace: "})); // All: asked once
        QCOMPARE(test::StoredRowOf(folder.path(), "{A}").content, QStringLiteral("apple"));
        QCOMPARE(test::StoredRowOf(folder.path(), "{B}").content, QStringLiteral("it's a pear"));
        QTRY_COMPARE(p.frame->model()->index(0, 0).data().toString(), QStringLiteral("apple"));
    }

    // Every failure box of backup, restore and import is on top, has the
    // keyboard, and leaves the program usable once answered.
    void failureBoxesAreAnsweredByKey_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("content"); // an XML document, or raw bytes
        QTest::addColumn<QString>("box");
        QTest::newRow("import of an empty file")
            << "import" << QByteArray() << "Error: File read failure!";
        QTest::newRow("restore of a damaged file")
            << "restore" << QByteArray("\x10\0\0\0\0\0\0\0garbage", 15)
            << "Error: File read failure!";
        QTest::newRow("restore of a foreign file")
            << "restore" << QByteArray("<zarvik app=\"Foo\"/>")
            << "Error: Data mismatch: FooTally-Ward";
        QTest::newRow("import of a record without its due time")
            << "import" << QByteArray("no due-time")
            << "Error: zarvik,tasks,task#0: due-time not Exist !";
        QTest::newRow("backup into a missing folder")
            << "backup" << QByteArray() << "Error: File write failure!";
    }
    void failureBoxesAreAnsweredByKey() {
        QFETCH(QString, command);
        QFETCH(QByteArray, content);
        QFETCH(QString, box);
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            test::InsertTask(db, test::Task("{A}", "root", "apple"));
        }
        test::Program p(folder.path());
        p.show();
        QString file = m_dir.filePath(QStringLiteral("case.zvx"));
        if (command == QLatin1String("backup")) {
            file = m_dir.filePath(QStringLiteral("no/such/folder/x.zvx"));
        } else if (content == "no due-time") {
            SetFilePromptHandler([&](bool, const QString&) { return file; });
            p.mainFm->Action_DbBackup->trigger();
            Txmltry xml;
            xml.LoadFile(file);
            xml.FindNode(QStringLiteral("zarvik,tasks,task#0")).remove_attribute("due-time");
            xml.SaveFile(file);
        } else if (content.startsWith('<')) {
            Txmltry xml;
            xml.LoadXml(QString::fromUtf8(content));
            xml.SaveFile(file);
        } else {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        SetFilePromptHandler([&](bool, const QString&) { return file; });
        SetMessageBoxHandler({});
        KeyAnswers answers({Qt::Key_Return, {}}, {Qt::Key_B, Qt::AltModifier});
        QAction* action = command == QLatin1String("backup")    ? p.mainFm->Action_DbBackup
                          : command == QLatin1String("restore") ? p.mainFm->Action_DbRestore
                                                                : p.mainFm->Action_Import;
        action->trigger();
        QCOMPARE(answers.faults, QStringList());
        QCOMPARE(answers.seen, QStringList({box}));
        // Nothing is left blocking the main window.
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(test::StoredRowOf(folder.path(), "{A}").content, QStringLiteral("apple"));
    }

    // The password question at start is a real window that has the
    // keyboard: a wrong password and Return ask again, the right one opens.
    void passwordAtStartIsTypedByKey() {
        test::ProgramFolder folder(false);
        Database::createEmpty(folder.path() + "zvData.zvb", QStringLiteral("it's mine"));
        QStringList typed{"nope", "it's mine"}, heard;
        int waited = 0;
        QTimer typist;
        connect(&typist, &QTimer::timeout, [&] {
            auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!d || !d->isVisible())
                return;
            QWidget* focus = QApplication::focusWidget();
            if (!focus || focus->window() != d || typed.isEmpty()) {
                if (++waited > 100) // five seconds without the keyboard
                    d->reject();
                return;
            }
            heard << d->labelText();
            QTest::keyClicks(focus, typed.takeFirst());
            QTest::keyClick(focus, Qt::Key_Return);
        });
        typist.start(50);
        test::Program p(folder.path());
        QCOMPARE(heard.size(), 2);
        QVERIFY(heard[1].startsWith("That is not the password."));
        QVERIFY(p.mainFm->db().isOpen());
    }

    // Titles are the dialogs' own; no program name is added to them.
    void captionsAreTheDialogsOwn() {
        QCOMPARE(QGuiApplication::applicationName(), QStringLiteral("Zarvik Tasquel Lite"));
        // A display name that was set would not follow the application name.
        QGuiApplication::setApplicationName(QStringLiteral("probe"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
        TApplication::Configure();
    }

    // The dialogs sit in the middle of the screen, not over the window, with
    // a fixed border; the reminder pop-up has no close button and ignores
    // the window manager's close.
    void dialogsAreCentredWithAFixedBorder_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("closeButton");
        QTest::newRow("reminder") << "reminder"
                                  << "Set Reminder" << true;
        QTest::newRow("due date") << "due"
                                  << "Set Due Date" << true;
        QTest::newRow("pop-up") << "popup"
                                << "Task Reminder" << false;
        QTest::newRow("replace") << "replace"
                                 << "Confirm Replace" << true;
    }
    void dialogsAreCentredWithAFixedBorder() {
        QFETCH(QString, which);
        QFETCH(QString, title);
        QFETCH(bool, closeButton);
        QWidget owner;
        owner.setGeometry(10, 10, 200, 150); // far from the middle
        owner.show();
        std::unique_ptr<QDialog> dlg;
        if (which == QLatin1String("reminder"))
            dlg = std::make_unique<TReminderSetDlg>(&owner, false, 0);
        else if (which == QLatin1String("due"))
            dlg = std::make_unique<TDueSetDlg>(&owner, false, 0);
        else if (which == QLatin1String("popup"))
            dlg = std::make_unique<TtaskReminderDlg>(&owner, QStringLiteral("it's due"), QString());
        else
            dlg = std::make_unique<TReplaceAskDlg>(&owner);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        QCOMPARE(dlg->windowTitle(), title);
        const QPoint middle = owner.screen()->availableGeometry().center();
        QVERIFY2((dlg->frameGeometry().center() - middle).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("centre %1,%2 of %3,%4 screen %5,%6")
                                .arg(dlg->frameGeometry().center().x())
                                .arg(dlg->frameGeometry().center().y())
                                .arg(dlg->frameGeometry().width())
                                .arg(dlg->frameGeometry().height())
                                .arg(middle.x())
                                .arg(middle.y())));
        QVERIFY(hasNoMinMaxButtons(dlg.get()));
        QCOMPARE(bool(dlg->windowFlags() & Qt::WindowCloseButtonHint), closeButton);
        QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
        if (!closeButton) {
            // As the window manager asks: Alt+F4 or a menu of its own.
            // As the window manager asks (Alt+F4, its own menu): through the
            // platform window, which makes the widget's close spontaneous.
            QCloseEvent byWindowManager;
            QCoreApplication::sendEvent(dlg->windowHandle(), &byWindowManager);
            const bool closed = byWindowManager.isAccepted();
            QVERIFY(!closed);
            QVERIFY(dlg->isVisible());
            dlg->close(); // from code it still closes
            QVERIFY(!dlg->isVisible());
        }
    }

    void messageBoxesHaveNoMinimiseOrMaximise() {
        SetMessageBoxHandler({});
        bool checked = false;
        test::WhenModal<QMessageBox> answer([&](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), QStringLiteral("Ask"));
            QVERIFY(hasNoMinMaxButtons(box));
            checked = true;
            box->reject();
        });
        QCOMPARE(AskBox(QStringLiteral("Are you sure?")), int(IDCANCEL));
        QVERIFY(checked);
    }

    // The view range box shows each item whole in the desktop's own font.
    void viewRangeBoxFitsItsLongestItem_data() {
        QTest::addColumn<int>("pixelSize");
        QTest::newRow("frame font") << 0;
        QTest::newRow("large font") << 20;
    }
    void viewRangeBoxFitsItsLongestItem() {
        QFETCH(int, pixelSize);
        const QFont before = QApplication::font();
        if (pixelSize) {
            QFont big = before;
            big.setPixelSize(pixelSize);
            QApplication::setFont(big, "QComboBox");
        }
        test::ProgramFolder folder;
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        QApplication::setFont(before, "QComboBox");
        QComboBox* box = f->Comb_ViewRange;
        QVERIFY(QTest::qWaitForWindowExposed(p.mainFm.get()));
        QStyleOptionComboBox opt;
        opt.initFrom(box);
        opt.editable = false;
        const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &opt,
                                                         QStyle::SC_ComboBoxEditField, box);
        for (int i = 0; i < box->count(); ++i)
            QVERIFY2(box->fontMetrics().horizontalAdvance(box->itemText(i)) <= field.width(),
                     qPrintable(box->itemText(i)));
    }
};

QTEST_MAIN(TestRealWindows)
#include "test_real_windows.moc"
