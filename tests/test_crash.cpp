#include "TestSupport.h"
#include "core/Interchange.h"
#include "platform/IniFile.h"

#include <QProcess>
#include <QtTest>
#include <random>

// Kills a writer with SIGKILL at seeded random moments and checks what it
// leaves: the database opens with its key and is sound, every write it had
// reported is there, and the settings file is one whole version of itself.

QString SettingsValue(long i) {
    return QString(int(1 + i % 3), QChar(u'a' + int(i % 26)));
}

namespace {

constexpr int kKills = 50;

// The reports of a child that has been killed, by kind.
struct Child {
    QProcess process;
    QMap<QString, QList<long>> acks;

    bool start(const QStringList& args) {
        process.start(QStringLiteral(CHILD_PATH), args);
        if (!process.waitForStarted(5000))
            return false;
        // Its database or file is open: the writes begin now.
        while (!process.canReadLine())
            if (!process.waitForReadyRead(10000))
                return false;
        return process.readLine().startsWith("ready");
    }
    void killAfter(int ms) {
        QThread::msleep(ulong(ms));
        process.kill(); // SIGKILL
        process.waitForFinished(5000);
        for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() == 2)
                acks[QString::fromLatin1(parts[0])] << parts[1].toLong();
        }
    }
    long last(const char* kind) const {
        const auto list = acks.value(QLatin1String(kind));
        return list.isEmpty() ? -1 : list.last();
    }
};

QString integrity(Database& db) {
    Query q(db);
    OpenQuery(q, QStringLiteral("pragma integrity_check"));
    return q.text(0);
}

std::vector<int> delays(unsigned seed, int maxMs) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, maxMs);
    std::vector<int> d(kKills);
    for (int& v : d)
        v = pick(random);
    return d;
}

QString settingsText(long i) {
    QByteArray text = "[form]\nLeft=10\nTop=20\n\n[option]\nhintSize=" +
                      (i < 0 ? QByteArray("20") : SettingsValue(i).toLatin1()) +
                      "\nvisitWeb=2026-01-01T00:00:00.000Z\n";
    return QString::fromLatin1(text);
}

} // namespace

class TestCrash : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { test::FixEnvironment(); }

    // A restore of 20,000 records killed at random: the tasks stored
    // before are all there and whole, and running it again completes it.
    void killedRestore() {
        const QString file = m_dir.filePath("20000.zvx");
        {
            test::ProgramFolder source;
            Database db;
            db.open(source.path());
            db.exec("begin");
            for (int i = 0; i < 20000; ++i)
                test::InsertTask(db, test::Task(QStringLiteral("{F%1}").arg(i), "root",
                                                QStringLiteral("from the file %1").arg(i)));
            db.exec("commit");
            Interchange::WriteBackup(db, file, "1");
        }
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            for (int i = 0; i < 100; ++i)
                test::InsertTask(db, test::Task(QStringLiteral("{S%1}").arg(i), "root",
                                                QStringLiteral("stored before %1").arg(i)));
        }
        int finished = 0;
        for (int ms : delays(20000, 500)) {
            {
                // Rows restored by an earlier run differ again: a record
                // that holds what its row holds is not written at all.
                Database db;
                db.open(folder.path());
                db.exec("update tasks set editTime=editTime+1 where tid like '{F%'");
            }
            Child child;
            QVERIFY(child.start({"restore", folder.path(), file}));
            child.killAfter(ms);
            finished += child.acks.contains("done");
            Database db;
            db.open(folder.path());
            QCOMPARE(integrity(db), QStringLiteral("ok"));
            Query q(db);
            OpenQuery(q, "select count(*) from tasks where content like 'stored before %'");
            QCOMPARE(q.integer(0), 100);
            // No half rows: each restored one has its text.
            OpenQuery(q, "select count(*) from tasks where tid like '{F%' and content not like "
                         "'from the file %'");
            QCOMPARE(q.integer(0), 0);
        }
        QVERIFY(finished < kKills); // most runs really were cut short
        Database db;
        db.open(folder.path());
        QVERIFY(Interchange::RestoreFromFile(
            db, file, [](const Interchange::ReplaceQuestion&) { return Interchange::Answer::All; },
            {}));
        Query q(db);
        OpenQuery(q, "select count(*) from tasks");
        QCOMPARE(q.integer(0), 20100);
    }

    // Single edits, each reported when its statement returned.
    void killedEdits() {
        test::ProgramFolder folder;
        long inserted = -1;
        for (int ms : delays(7, 120)) {
            Child child;
            // Each run starts numbering again: its rows are new ones.
            QVERIFY(child.start({"edits", folder.path()}));
            child.killAfter(ms);
            Database db;
            db.open(folder.path());
            QCOMPARE(integrity(db), QStringLiteral("ok"));
            Query q(db);
            for (long i : child.acks.value("inserted")) {
                OpenQuery(q, "select count(*) from tasks where tid=?",
                          {QStringLiteral("{E%1}").arg(i)});
                QVERIFY(q.integer(0) >= 1);
            }
            for (long i : child.acks.value("edited")) {
                OpenQuery(q, "select content from tasks where tid=?",
                          {QStringLiteral("{E%1}").arg(i / 2)});
                QVERIFY(!q.eof());
                const QString content = q.text(0);
                QVERIFY2(content.startsWith("edited by ") &&
                             content.mid(10).toLong() >= i - (i % 2),
                         qPrintable(content));
            }
            inserted = std::max(inserted, child.last("inserted"));
        }
        QVERIFY(inserted > 0);
    }

    // Settings writes: the file is always the text before a write or the
    // text after it.
    // A change of password killed anywhere: the database opens, whole,
    // with the password of the last change that returned, or the next one.
    void killedPasswordChanges() {
        test::ProgramFolder folder;
        {
            Database db;
            db.open(folder.path());
            for (int i = 0; i < 300; ++i)
                test::InsertTask(db, test::Task(QStringLiteral("{K%1}").arg(i), "root",
                                                QStringLiteral("it's task %1").arg(i)));
        }
        const auto passwordAfter = [](long k) {
            return k < 0   ? Database::defaultPassword()
                   : k % 2 ? QStringLiteral("two")
                           : QStringLiteral("one");
        };
        long done = -1; // changes that returned, over all the children
        for (int ms : delays(9, 300)) {
            Child child;
            // The child starts from the built-in password; give it that.
            {
                Database db;
                db.open(folder.path(), passwordAfter(done));
                if (done >= 0)
                    db.changePassword(Database::defaultPassword());
            }
            done = -1;
            QVERIFY(child.start({"rekey", folder.path()}));
            child.killAfter(ms);
            const long k = child.last("changed");
            Database db;
            QString used;
            for (const QString& pw : {passwordAfter(k), passwordAfter(k + 1)}) {
                try {
                    db.open(folder.path(), pw);
                    used = pw;
                    break;
                } catch (const WrongPassword&) {
                }
            }
            QVERIFY2(!used.isEmpty(), qPrintable(QStringLiteral("after %1 changes").arg(k + 1)));
            QCOMPARE(integrity(db), QStringLiteral("ok"));
            Query q(db);
            OpenQuery(q, QStringLiteral("select count(*) from tasks"));
            QCOMPARE(q.integer(0), 300);
            QVERIFY(!QFile::exists(Database::rekeyCopyOf(folder.path() + "zvData.zvb")));
            done = used == Database::defaultPassword() ? -1 : used == "one" ? 0 : 1;
        }
    }

    void killedSettingsWrites() {
        const QString path = m_dir.filePath("zvConf.ini");
        for (int ms : delays(5, 40)) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(settingsText(-1).toLatin1());
            f.close();
            Child child;
            QVERIFY(child.start({"settings", path}));
            child.killAfter(ms);
            const long k = child.last("wrote");
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString text = QString::fromLatin1(f.readAll());
            QVERIFY2(text == settingsText(k) || text == settingsText(k + 1),
                     qPrintable(QStringLiteral("after %1 writes: %2").arg(k + 1).arg(text)));
            QStringList left = QDir(m_dir.path()).entryList({"zvConf.ini.*"}, QDir::Files);
            QVERIFY(left.size() <= 1); // the killed writer's own, removed by the next
        }
    }
};

QTEST_GUILESS_MAIN(TestCrash)
#include "test_crash.moc"
