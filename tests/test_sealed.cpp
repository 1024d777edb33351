// Files sealed with a password: they open with it alone, and any change to
// their bytes, or a header asking for too much work, is refused.
#include "platform/Sealed.h"

#include <QtTest>

class TestSealed : public QObject {
    Q_OBJECT
    static constexpr quint32 kFew = 1000; // the tests' iterations: quick
private slots:
    void opensWithThePasswordOnly_data() {
        QTest::addColumn<QByteArray>("plain");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("task text") << QByteArray("it's the apple task, ünïcode ✓");
        QByteArray big(3 * 1024 * 1024 + 7, 'x'); // beyond one chunk of the library
        for (qsizetype i = 0; i < big.size(); i += 4096)
            big[i] = char(i / 4096);
        QTest::newRow("several chunks") << big;
    }
    void opensWithThePasswordOnly() {
        QFETCH(QByteArray, plain);
        const QByteArray a = Sealed::Seal(plain, "Geheim ä", kFew);
        const QByteArray b = Sealed::Seal(plain, "Geheim ä", kFew);
        QVERIFY(Sealed::IsSealed(a) && !Sealed::IsSealed(plain));
        QVERIFY(a != b); // a salt and a nonce of their own
        QCOMPARE(a.size(), Sealed::HeaderSize + plain.size() + Sealed::TagSize);
        if (plain.size() > 8)
            QVERIFY(!a.contains(plain.left(12)));
        QCOMPARE(Sealed::Open(a, "Geheim ä").value_or("none"), plain);
        QVERIFY(!Sealed::Open(a, "Geheim a"));
        QVERIFY(!Sealed::Open(a, QString()));
    }

    // A changed byte anywhere (the header included), a cut, or a header
    // that asks for a key derivation of its own choosing.
    void changedBytesAreRefused() {
        const QByteArray good = Sealed::Seal("the list", "pw", kFew);
        for (qsizetype at : {qsizetype(8), qsizetype(12), qsizetype(20), qsizetype(35),
                             qsizetype(Sealed::HeaderSize), good.size() - 1}) {
            QByteArray bad = good;
            bad[at] = char(bad[at] ^ 0x01);
            QVERIFY2(!Sealed::Open(bad, "pw"), qPrintable(QString::number(at)));
        }
        QVERIFY(!Sealed::Open(good.chopped(1), "pw"));
        QVERIFY(!Sealed::Open(good.left(Sealed::HeaderSize), "pw"));
        const QByteArray heavy = Sealed::Seal("x", "pw", 2 * kFew);
        QVERIFY(Sealed::Open(heavy, "pw"));
        QVERIFY(!Sealed::Open(heavy, "pw", 2 * kFew - 1));
        QVERIFY(!Sealed::Open(Sealed::Seal("x", "pw", 999), "pw"));
    }
};

QTEST_APPLESS_MAIN(TestSealed)
#include "test_sealed.moc"
