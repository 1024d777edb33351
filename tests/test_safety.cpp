#include "FrameHarness.h"
#include "components/ZvStatusBar.h"
#include "core/Interchange.h"
#include "core/SafetyCopies.h"
#include "core/XmlTry.h"
#include "dialogs/Dlg_ReplaceAsk.h"

#include "platform/FileModes.h"
#include "platform/IniFile.h"
#include "platform/MailTransport.h"
#include "platform/Sealed.h"

#include <QPushButton>
#include <QScopeGuard>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// What makes a wrong answer recoverable and a long read safe: the safety
// copies before Restore and Import, the batches they write in, and files
// that a full disk never leaves shorter.

namespace {

void fill(const QString& folder, const QList<std::pair<QString, QString>>& tasks) {
    Database db;
    db.open(folder);
    for (const auto& [tid, content] : tasks)
        test::InsertTask(db, test::Task(tid, "root", content));
}

QString backupOf(const QList<std::pair<QString, QString>>& tasks, const QString& file) {
    test::ProgramFolder folder;
    fill(folder.path(), tasks);
    Database db;
    db.open(folder.path());
    Interchange::WriteBackup(db, file, "1");
    return file;
}
// A small file system of its own for one test, which only root may mount.
class SmallDisk {
public:
    explicit SmallDisk(const QString& dir) : m_dir(QFile::encodeName(dir)) {
        QDir().mkpath(dir);
        m_mounted = ::mount("tmpfs", m_dir.constData(), "tmpfs", 0, "size=512k") == 0;
    }
    ~SmallDisk() {
        if (m_mounted)
            ::umount2(m_dir.constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    // Takes every block that is left.
    void fill() const {
        const int fd = ::open((m_dir + "/filler").constData(), O_WRONLY | O_CREAT, 0600);
        static const char block[4096] = {};
        for (size_t n = sizeof block; n > 0; n /= 2)
            while (::write(fd, block, n) == ssize_t(n)) {
            }
        ::close(fd);
    }

private:
    QByteArray m_dir;
    bool m_mounted = false;
};

// A mail program that only notes that it was handed a message.
struct NoteTransport : MailTransport {
    static inline int sent = 0;
    int logon(const QString&, const QString&, unsigned, unsigned long& s) override {
        s = 1;
        return 0;
    }
    int logoff(unsigned long) override { return 0; }
    int resolveName(unsigned long, const QString&, unsigned, MailRecipient&) override { return 0; }
    int sendMail(unsigned long, const MailMessage&, unsigned) override {
        ++sent;
        return 0;
    }
    void freeBuffer(const MailRecipient&) override {}
};

} // namespace

class TestSafety : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { test::FixGuiEnvironment(); }
    void cleanup() { SetFilePromptHandler({}); }

    // A restore answered "All" through the real question replaces the
    // tasks; the copy it left brings them back.
    void restoreLeavesACopyThatUndoesIt() {
        const QString file =
            backupOf({{"{A}", "apple from file"}, {"{N}", "new"}}, m_dir.filePath("all.zvx"));
        test::ProgramFolder folder;
        fill(folder.path(), {{"{A}", "apple as it was"}, {"{B}", "it's mine"}});
        const QStringList before = test::StoredContents(folder.path());
        SetFilePromptHandler([&](bool, const QString&) { return file; });
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        test::WhenModal<TReplaceAskDlg> all([](TReplaceAskDlg* d) { d->Button4->click(); });
        p.mainFm->Action_DbRestore->trigger();
        QCOMPARE(all.count, 1);
        QTRY_COMPARE(f->model()->totalCount(), 3);
        QCOMPARE(test::StoredContents(folder.path()),
                 QStringList({"apple from file", "it's mine", "new"}));

        const QStringList copies = SafetyCopies::List(folder.path());
        QCOMPARE(copies.size(), 1);
        QVERIFY(copies[0].startsWith("zvData-") && copies[0].endsWith(".zvx"));
        QTRY_COMPARE(f->ZvStatusBar1->panelText(), "Safety copy: Backups/" + copies[0]);
        QVERIFY(p.boxes.shown.isEmpty());

        // Restoring the copy over it, answering All, gives the old texts
        // back (the task only the file had stays: restore adds, never deletes).
        const QString copy = SafetyCopies::Folder(folder.path()) + '/' + copies[0];
        SetFilePromptHandler([&](bool, const QString&) { return copy; });
        p.mainFm->Action_DbRestore->trigger();
        QCOMPARE(all.count, 2);
        QCOMPARE(test::StoredContents(folder.path()),
                 QStringList({"apple as it was", "it's mine", "new"}));
        QCOMPARE(SafetyCopies::List(folder.path()).size(), 2);
    }

    // Only a command that is about to write makes a copy; the newest ten
    // are kept.
    void copiesAreMadeOnlyBeforeChangesAndTenKept() {
        test::ProgramFolder folder;
        fill(folder.path(), {{"{A}", "a"}});
        Database db;
        db.open(folder.path());
        int made = 0;
        const auto copy = [&] {
            ++made;
            SafetyCopies::Write(db, folder.path(), "1",
                                QDateTime(QDate(2026, 1, 1), QTime(9, 0)).addSecs(made));
        };
        QVERIFY(test::WriteFile(m_dir.filePath("damaged.zvx"), "not a container"));
        QStringList boxes;
        const auto box = [&](const QString& t) { boxes << t; };
        QVERIFY(
            !Interchange::RestoreFromFile(db, m_dir.filePath("damaged.zvx"), {}, box, {}, copy));
        QVERIFY(!Interchange::ImportFromFile(db, m_dir.filePath("damaged.zvx"), box, {}, copy));
        QCOMPARE(made, 0);
        const QString empty = backupOf({}, m_dir.filePath("empty.zvx"));
        QVERIFY(Interchange::ImportFromFile(db, empty, box, {}, copy));
        QCOMPARE(made, 0); // nothing to write, nothing to keep

        const QString one = backupOf({{"{X}", "x"}}, m_dir.filePath("one.zvx"));
        for (int i = 0; i < 12; ++i)
            QVERIFY(Interchange::ImportFromFile(db, one, box, {}, copy));
        QCOMPARE(made, 12);
        const QStringList copies = SafetyCopies::List(folder.path());
        QCOMPARE(copies.size(), SafetyCopies::Keep);
        QCOMPARE(copies.first(), QStringLiteral("zvData-2026-01-01-090003-000.zvx"));
        QCOMPARE(copies.last(), QStringLiteral("zvData-2026-01-01-090012-000.zvx"));
        QCOMPARE(boxes, QStringList({"File read failure!", "File read failure!"}));
    }

    // A copy that cannot be written stops the command before any change.
    void unwritableCopyStopsTheCommand() {
        const QString file = backupOf({{"{N}", "new"}}, m_dir.filePath("stop.zvx"));
        test::ProgramFolder folder;
        fill(folder.path(), {{"{A}", "kept"}});
        QVERIFY(
            test::WriteFile(SafetyCopies::Folder(folder.path()), "a file where the folder goes"));
        SetFilePromptHandler([&](bool, const QString&) { return file; });
        test::Program p(folder.path());
        p.show();
        p.mainFm->Action_Import->trigger();
        p.mainFm->Action_DbRestore->trigger();
        QCOMPARE(p.boxes.texts(),
                 QStringList({SafetyCopies::WriteFailure, SafetyCopies::WriteFailure}));
        QCOMPARE(test::StoredContents(folder.path()), QStringList{"kept"});
    }

    // Rows are committed in batches; a question is asked with none open,
    // and what was written before an abort stays.
    void batchesAreClosedWhileAsking() {
        QList<std::pair<QString, QString>> tasks;
        for (int i = 0; i < 2500; ++i)
            tasks.push_back({QStringLiteral("{%1}").arg(i), QStringLiteral("t%1").arg(i)});
        tasks.push_back({"{A}", "from file"});
        for (int i = 2500; i < 2600; ++i)
            tasks.push_back({QStringLiteral("{%1}").arg(i), QStringLiteral("t%1").arg(i)});
        const QString file = backupOf(tasks, m_dir.filePath("batches.zvx"));
        test::ProgramFolder folder;
        fill(folder.path(), {{"{A}", "stored"}});
        Database db;
        db.open(folder.path());
        bool inTransaction = true;
        int rowsSeenByAnother = -1;
        const auto ask = [&](const Interchange::ReplaceQuestion&) {
            inTransaction = !sqlite3_get_autocommit(db.handle());
            rowsSeenByAnother = test::StoredContents(folder.path()).size(); // a second connection
            return Interchange::Answer::Abort;
        };
        QVERIFY(Interchange::RestoreFromFile(db, file, ask, {}));
        QVERIFY(!inTransaction);
        QCOMPARE(rowsSeenByAnother, 2501);
        QVERIFY(sqlite3_get_autocommit(db.handle()));
        QCOMPARE(test::StoredContents(folder.path()).size(), 2501);
    }

    // Under any umask, what the program writes into its folder is the
    // user's alone; a list saved elsewhere keeps the umask's mode but never
    // widens the file it replaces; an earlier version's files are tightened
    // once, and said so; the mail's work files go when the program ends.
    void filesAreTheUsersAlone_data() {
        QTest::addColumn<int>("mask");
        QTest::newRow("umask 022") << 022;
        QTest::newRow("umask 000") << 0;
    }
    void filesAreTheUsersAlone() {
        QFETCH(int, mask);
        const mode_t old = ::umask(mode_t(mask));
        const auto back = qScopeGuard([old] { ::umask(old); });
        const auto mode = [](const QString& path) {
            struct stat st {};
            return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777)
                                                                         : -1;
        };
        QTemporaryDir elsewhere;
        QVERIFY(FileModes::MakeFolder(elsewhere.filePath("data/zarvik-tasquel")));
        QCOMPARE(mode(elsewhere.filePath("data/zarvik-tasquel")), 0700);

        test::ProgramFolder folder;
        fill(folder.path(), {{"{A}", "apple"}, {"{B}", "it's banana"}});
        const QString db = folder.path() + "zvData.zvb";
        const QString earlier = folder.path() + "Backups/zvData-2020-01-01-000000-000.zvx";
        QVERIFY(QDir().mkpath(folder.path() + "Backups"));
        QVERIFY(test::WriteFile(earlier, "old"));
        QVERIFY(test::WriteFile(folder.configPath(), "[task]\r\n"));
        for (const QString& f : {db, earlier, folder.configPath()})
            QVERIFY(::chmod(QFile::encodeName(f).constData(), 0644) == 0);
        const QString replaced = elsewhere.filePath("replaced.txt");
        QVERIFY(test::WriteFile(replaced, "x"));
        QVERIFY(::chmod(QFile::encodeName(replaced).constData(), 0640) == 0);

        SetMailTransportFactory([] { return std::make_unique<NoteTransport>(); });
        const auto noMail = qScopeGuard([] { SetMailTransportFactory({}); });
        QString prompt;
        SetFilePromptHandler([&](bool, const QString&) { return prompt; });
        SetTypedSavePromptHandler([&](const QStringList&, int& type) {
            type = 0;
            return prompt;
        });
        const auto noPrompts = qScopeGuard([] { SetTypedSavePromptHandler({}); });
        {
            test::Program p(folder.path());
            TzvTasksFrame* f = p.show();
            QTRY_VERIFY(f->ZvStatusBar1->panelText().contains("read by you alone"));
            p.select({p.row(0)});
            f->Action_Email->trigger();
            QTRY_COMPARE(NoteTransport::sent, 1);
            for (const QString& list :
                 {folder.path() + "list.txt", elsewhere.filePath("new.txt"), replaced}) {
                prompt = list;
                f->Action_SaveAll->trigger();
            }
            prompt = backupOf({{"{C}", "cherry"}}, elsewhere.filePath("in.zvx"));
            p.mainFm->Action_Import->trigger();
            QTRY_COMPARE(f->model()->totalCount(), 3);
            IniFile(folder.configPath()).writeString("task", "a", "b");
            QStringList own{db,
                            db + "-wal",
                            folder.configPath(),
                            earlier,
                            folder.path() + "Backups/" + SafetyCopies::List(folder.path()).last(),
                            folder.path() + "Temp/Tasks.html",
                            folder.path() + "Temp/Tasks.zvx",
                            folder.path() + "list.txt"};
            for (const QString& file : own)
                QVERIFY2(mode(file) == 0600, qPrintable(file + QString::number(mode(file), 8)));
            QCOMPARE(mode(folder.path() + "Backups"), 0700);
            QCOMPARE(mode(elsewhere.filePath("new.txt")), 0666 & ~mask);
            QCOMPARE(mode(replaced), 0640 & ~mask);
        }
        QVERIFY(!QFile::exists(folder.path() + "Temp/Tasks.html"));
        QVERIFY(!QFile::exists(folder.path() + "Temp/Tasks.zvx"));
        test::Program again(folder.path());
        TzvTasksFrame* f = again.show();
        test::Program::afterPosted();
        QVERIFY(!f->ZvStatusBar1->panelText().contains("read by you alone"));
        NoteTransport::sent = 0;
    }

    // A database with a password of its own: asked for it three times at
    // most, then told once; Cancel ends the program; the right one opens.
    void passwordOfItsOwnIsAskedFor() {
        test::ProgramFolder folder(false);
        Database::createEmpty(folder.path() + "zvData.zvb", QStringLiteral("it's ours"));
        {
            const auto p = test::Program::Asked(folder.path(), {"a", "b", "c"});
            p->show();
            QCOMPARE(p->passwordQuestions.size(), 3);
            QVERIFY(p->passwordQuestions[1].startsWith("That is not the password."));
            QCOMPARE(p->boxes.shown.size(), 1);
            QVERIFY(!p->mainFm->db().isOpen() && !p->mainFm->refused());
        }
        {
            const auto p = test::Program::Asked(folder.path(), {});
            QVERIFY(p->mainFm->refused() && !p->mainFm->db().isOpen());
            QVERIFY(p->boxes.shown.isEmpty());
        }
        const auto p = test::Program::Asked(folder.path(), {"wrong", "it's ours"});
        p->show();
        QVERIFY(p->mainFm->db().isOpen());
        QCOMPARE(p->mainFm->context().password, QStringLiteral("it's ours"));
        QVERIFY(p->boxes.shown.isEmpty());
    }

    // With a password of the user's own, backups and safety copies are
    // sealed with it: no task text in their bytes; the program that knows
    // the password restores them at once, another asks for it.
    void filesAreSealedWithThePassword() {
        test::ProgramFolder folder(false);
        Database::createEmpty(folder.path() + "zvData.zvb", QStringLiteral("s3cret"));
        {
            Database db;
            db.open(folder.path(), QStringLiteral("s3cret"));
            test::InsertTask(db, test::Task("{A}", "root", "it's the secret apple"));
        }
        const QString backup = m_dir.filePath("sealed.zvx");
        SetFilePromptHandler([&](bool, const QString&) { return backup; });
        {
            const auto p = test::Program::Asked(folder.path(), {"s3cret"});
            p->show();
            p->mainFm->Action_DbBackup->trigger();
            p->tree()->setCurrentIndex(p->row(0));
            p->frame->Action_TaskDelete->trigger();
            p->mainFm->Action_DbRestore->trigger(); // no password asked
            QTRY_COMPARE(p->frame->model()->totalCount(), 1);
            QCOMPARE(SafetyCopies::List(folder.path()).size(), 1);
            QCOMPARE(p->boxes.shown.size(), 1); // the delete's question
        }
        const QString copy = folder.path() + "Backups/" + SafetyCopies::List(folder.path())[0];
        for (const QString& file : {backup, copy}) {
            const QByteArray bytes = test::ReadFile(file);
            QVERIFY(Sealed::IsSealed(bytes));
            QVERIFY(!Sealed::Open(bytes, Database::defaultPassword()));
        }
        test::ProgramFolder other;
        for (const QStringList& typed : {QStringList{"a", "b", "c"}, QStringList{"x", "s3cret"}}) {
            test::Program p(other.path());
            p.show();
            QStringList asked;
            SetPasswordPromptHandler([&](const QString& text) -> std::optional<QString> {
                asked << text;
                return typed.value(asked.size() - 1);
            });
            p.mainFm->Action_Import->trigger();
            SetPasswordPromptHandler({});
            QCOMPARE(asked.size(), typed.size());
            if (typed.size() == 3) {
                QCOMPARE(p.boxes.texts(), QStringList{"\"" + backup +
                                                      "\" is protected with a password, and it "
                                                      "was not given."});
            } else {
                QVERIFY(asked[1].startsWith("That is not the password of sealed.zvx"));
                QTRY_COMPARE(test::StoredContents(other.path()),
                             QStringList{"it's the secret apple"});
            }
        }
    }

    // A Backups folder that is a link elsewhere is not followed: nothing
    // there is trimmed away, and the command says why it cannot start.
    void linkedBackupsIsNotFollowed() {
        test::ProgramFolder folder;
        fill(folder.path(), {{"{A}", "apple"}});
        QTemporaryDir other;
        for (int i = 0; i < 12; ++i)
            QVERIFY(test::WriteFile(
                other.filePath(QStringLiteral("zvData-2020-01-%1-000000-000.zvx").arg(i + 10)),
                "theirs"));
        QVERIFY(QFile::link(other.path(), folder.path() + "Backups"));
        const QString file = backupOf({{"{C}", "cherry"}}, m_dir.filePath("linked.zvx"));
        SetFilePromptHandler([&](bool, const QString&) { return file; });
        test::Program p(folder.path());
        p.show();
        p.mainFm->Action_Import->trigger();
        QCOMPARE(p.boxes.texts().size(), 1);
        QVERIFY(p.boxes.texts().constFirst().startsWith("Backups is a link"));
        QCOMPARE(QDir(other.path()).entryList(QDir::Files).size(), 12);
        QCOMPARE(test::StoredContents(folder.path()), QStringList{"apple"});
    }

    // On a full disk every file the program writes fails with its message,
    // and the file that was there stays whole.
    void fullDiskReplacesNoFile() {
        if (::geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        QTemporaryDir dir;
        const QString disk = dir.filePath("disk");
        SmallDisk small(disk);
        if (!small.mounted())
            QSKIP("this machine lets no one mount a file system here");
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            test::InsertTask(db, test::Task("{N}", "root", "restored"));
            Interchange::WriteBackup(db, dir.filePath("restore.zvx"), "1");
            db.exec("delete from tasks");
            for (int i = 0; i < 30; ++i)
                test::InsertTask(db, test::Task(QStringLiteral("{T%1}").arg(i), "root",
                                                QStringLiteral("task %1 it's here").arg(i)));
        }
        // Work files and settings land on the small disk through links;
        // safety copies on one of their own (a linked Backups is refused).
        QDir().mkpath(disk + "/Temp");
        QDir(folder.path() + "Temp").removeRecursively();
        QVERIFY(QFile::link(disk + "/Temp", folder.path() + "Temp"));
        QDir(folder.path() + "Backups").removeRecursively();
        SmallDisk backups(folder.path() + "Backups");
        QFile::remove(folder.configPath());
        QVERIFY(test::WriteFile(disk + "/zvConf.ini", "[option]\r\naddOpenEn=0\r\n"));
        QVERIFY(QFile::link(disk + "/zvConf.ini", folder.configPath()));

        SetMailTransportFactory([] { return std::make_unique<NoteTransport>(); });
        QString prompt;
        SetFilePromptHandler([&](bool, const QString&) { return prompt; });
        SetTypedSavePromptHandler([&](const QStringList&, int& type) {
            type = 0;
            return prompt;
        });
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        const QString backup = disk + "/good.zvx", list = disk + "/all.txt";
        prompt = backup;
        p.mainFm->Action_DbBackup->trigger();
        prompt = list;
        f->Action_SaveAll->trigger();
        p.select({p.row(0)});
        f->Action_Email->trigger();
        QTRY_COMPARE(NoteTransport::sent, 1);
        QCOMPARE(p.boxes.shown.size(), 0);
        QStringList files{backup, list, folder.path() + "Temp/Tasks.html",
                          folder.path() + "Temp/Tasks.zvx", disk + "/zvConf.ini"};
        QList<QByteArray> before;
        for (const QString& file : files) {
            before << test::ReadFile(file);
            QVERIFY2(!before.last().isEmpty(), qPrintable(file));
        }

        small.fill();
        backups.fill();
        QStringList expected;
        prompt = backup;
        p.mainFm->Action_DbBackup->trigger();
        expected << "File write failure!";
        prompt = list;
        f->Action_SaveAll->trigger();
        expected << "File write failure!";
        p.select({p.row(0)});
        f->Action_Email->trigger();
        expected << "File write failure!";
        prompt = dir.filePath("restore.zvx");
        p.mainFm->Action_DbRestore->trigger();
        expected << SafetyCopies::WriteFailure;
        QTRY_COMPARE(p.boxes.texts(), expected);
        QCOMPARE(NoteTransport::sent, 1);
        QCOMPARE(SafetyCopies::List(folder.path()), QStringList());
        QVERIFY_THROWS_EXCEPTION(IniWriteError,
                                 IniFile(folder.configPath()).writeString("task", "a", "longer"));
        for (qsizetype i = 0; i < files.size(); ++i)
            QVERIFY2(test::ReadFile(files[i]) == before[i], qPrintable(files[i]));
        QCOMPARE(p.frame->model()->flatNodes().size(), size_t(30));
        SetMailTransportFactory({});
        SetFilePromptHandler({});
        SetTypedSavePromptHandler({});
    }

private:
};

QTEST_MAIN(TestSafety)
#include "test_safety.moc"
