#include "platform/SingleInstance.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

namespace {
// Sets the desktop variables for one test and puts them back after it.
class DesktopEnv {
public:
    DesktopEnv(const QByteArray& wayland, const QByteArray& x11)
        : m_wayland(qgetenv("WAYLAND_DISPLAY")), m_x11(qgetenv("DISPLAY")) {
        set(wayland, x11);
    }
    ~DesktopEnv() { set(m_wayland, m_x11); }
    static void set(const QByteArray& wayland, const QByteArray& x11) {
        qputenv("WAYLAND_DISPLAY", wayland);
        qputenv("DISPLAY", x11);
    }

private:
    QByteArray m_wayland, m_x11;
};

QString uniqueTitle() {
    return QStringLiteral("Tasquel Test ") + QUuid::createUuid().toString(QUuid::Id128).left(8);
}
} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void secondStartRaisesTheFirstAndEnds() {
        QTemporaryDir dir;
        const QString title = uniqueTitle();
        SingleInstance first(title, dir.path());
        QVERIFY(first.claim());
        QSignalSpy raised(&first, &SingleInstance::activationRequested);

        QProcess second;
        second.start(QStringLiteral(PROBE_PATH), {title, dir.path()});
        // The first copy must keep its event loop running to answer.
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 15000);
        QCOMPARE(second.exitCode(), 3);
        QCOMPARE(raised.count(), 1);

        // Once the first copy has gone, a new start becomes the running copy.
        first.release();
        QProcess third;
        third.start(QStringLiteral(PROBE_PATH), {title, dir.path()});
        QVERIFY(third.waitForFinished(15000));
        QCOMPARE(third.exitCode(), 0);
    }

    // One running copy per desktop: a copy on another display is its own;
    // the screen number does not make another desktop.
    void desktopIsPartOfTheName_data() {
        QTest::addColumn<QString>("wayland");
        QTest::addColumn<QString>("x11");
        QTest::addColumn<QString>("name");
        QTest::newRow("x display") << ""
                                   << ":1"
                                   << "_1";
        QTest::newRow("screen of it") << ""
                                      << ":1.0"
                                      << "_1";
        QTest::newRow("remote") << ""
                                << "host.example:10.2"
                                << "host_example_10";
        QTest::newRow("wayland first") << "wayland-0"
                                       << ":1"
                                       << "wayland-0";
        QTest::newRow("socket path") << "/run/user/1000/w y"
                                     << ""
                                     << "_run_user_1000_w_y";
        QTest::newRow("none") << ""
                              << ""
                              << "";
    }
    void desktopIsPartOfTheName() {
        QFETCH(QString, wayland);
        QFETCH(QString, x11);
        QFETCH(QString, name);
        const DesktopEnv env(wayland.toUtf8(), x11.toUtf8());
        QCOMPARE(SingleInstance::DesktopName(), name);
    }

    void copiesOnTwoDesktopsBothRun() {
        QTemporaryDir dir;
        const QString title = uniqueTitle();
        const DesktopEnv desktop("", ":7");
        SingleInstance first(title, dir.path());
        QVERIFY(first.claim());
        qputenv("DISPLAY", ":8");
        SingleInstance other(title, dir.path());
        QVERIFY(other.claim());
        QVERIFY(first.serverName() != other.serverName());
        // A second start on the first desktop finds the running copy.
        QProcess again;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":7.0"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        again.setProcessEnvironment(env);
        again.start(QStringLiteral(PROBE_PATH), {title, dir.path()});
        QTRY_VERIFY_WITH_TIMEOUT(again.state() == QProcess::NotRunning, 15000);
        QCOMPARE(again.exitCode(), 3);
    }

    void lockOfAVanishedCopyIsTakenOver() {
        QTemporaryDir dir;
        const QString title = uniqueTitle();
        QProcess crashed;
        crashed.start(QStringLiteral(PROBE_PATH), {title, dir.path(), QStringLiteral("stay")});
        QVERIFY(crashed.waitForReadyRead(15000));
        QCOMPARE(crashed.readLine(), QByteArray("owner\n"));
        crashed.kill(); // no chance to release anything
        QVERIFY(crashed.waitForFinished(5000));

        SingleInstance next(title, dir.path());
        QVERIFY(next.claim());
        QVERIFY(next.isOwner());
    }

    void ownerThatNeverAnswersIsTreatedAsStale() {
        QTemporaryDir dir;
        const QString title = uniqueTitle();
        QProcess stuck;
        stuck.start(QStringLiteral(PROBE_PATH), {title, dir.path(), QStringLiteral("stay")});
        QVERIFY(stuck.waitForReadyRead(15000));
        stuck.readLine();
        // Stop it: alive, holding the lock, but deaf.
        QVERIFY(QProcess::execute(QStringLiteral("kill"),
                                  {QStringLiteral("-STOP"), QString::number(stuck.processId())}) ==
                0);
        SingleInstance next(title, dir.path());
        QVERIFY(next.claim());
        stuck.kill();
        stuck.waitForFinished(5000);
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_single_instance.moc"
