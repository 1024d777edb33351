#include "platform/SingleInstance.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

namespace {
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
