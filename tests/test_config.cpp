#include "TestSupport.h"
#include "platform/AutoStart.h"
#include "platform/IniFile.h"
#include "platform/Options.h"
#include "platform/ProgramFolders.h"
#include "platform/pU_Funcs.h"

#include <QtTest>
#include <sys/stat.h>

class TestConfig : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::FixEnvironment(); }

    // Portable beside the pictures; installed: the user's data folder, the
    // share folder for what is only read.
    void programFolders() {
        QTemporaryDir root;
        const QString bin = root.filePath("usr/bin"),
                      share = root.filePath("usr/share/zarvik-tasquel");
        QDir().mkpath(bin + "/Images");
        QDir().mkpath(share + "/Images");
        qputenv("XDG_DATA_HOME", root.filePath("home/data").toLocal8Bit());
        ProgramFolders f = ProgramFolders::ForExecutable(bin);
        QVERIFY(f.portable);
        QCOMPARE(f.data, bin + u'/');
        QCOMPARE(f.share, f.data);
        QDir(bin).rmdir("Images");
        f = ProgramFolders::ForExecutable(bin);
        QVERIFY(!f.portable);
        QCOMPARE(f.data, root.filePath("home/data/zarvik-tasquel/"));
        QCOMPARE(f.share, share + u'/');
        QVERIFY(QFileInfo(f.data + "Temp").isDir());
        qputenv("XDG_DATA_HOME", "relative/is/ignored");
        QCOMPARE(ProgramFolders::UserDataFolder(),
                 QDir::homePath() + "/.local/share/zarvik-tasquel/");
        qunsetenv("XDG_DATA_HOME");
    }
    void cleanup() {
        test::SetZone("UTC");
        Clock::SetForTesting({});
    }

    // Each row: the file's text, the key asked for, and what the readers give.
    void readingRules_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("intDefault");
        QTest::addColumn<int>("asInt");
        QTest::addColumn<bool>("asBool");
        QTest::addColumn<QString>("asText");

        QTest::newRow("decimal") << QByteArray("[option]\nhintSize=35\n") << "option"
                                 << "hintSize" << 20 << 35 << true << "35";
        QTest::newRow("hex") << QByteArray("[option]\nhintSize=0x10\n") << "option"
                             << "hintSize" << 20 << 16 << true << "0x10";
        QTest::newRow("hex upper") << QByteArray("[option]\nhintSize=0X1f\n") << "option"
                                   << "hintSize" << 20 << 31 << true << "0X1f";
        QTest::newRow("bare 0x") << QByteArray("[option]\nhintSize=0x\n") << "option"
                                 << "hintSize" << 20 << 20 << true << "0x";
        QTest::newRow("not a number") << QByteArray("[option]\nhintSize=abc\n") << "option"
                                      << "hintSize" << 20 << 20 << true << "abc";
        QTest::newRow("two is true") << QByteArray("[option]\naddOpenEn=2\n") << "option"
                                     << "addOpenEn" << 0 << 2 << true << "2";
        QTest::newRow("minus one is true") << QByteArray("[option]\naddOpenEn=-1\n") << "option"
                                           << "addOpenEn" << 0 << -1 << true << "-1";
        QTest::newRow("zero is false") << QByteArray("[option]\naddOpenEn=0\n") << "option"
                                       << "addOpenEn" << 1 << 0 << false << "0";
        QTest::newRow("empty gives default") << QByteArray("[option]\nvisitWebEn=\n") << "option"
                                             << "visitWebEn" << 1 << 1 << true << "";
        QTest::newRow("missing key") << QByteArray("[option]\nother=5\n") << "option"
                                     << "hintSize" << 20 << 20 << true << "dflt";
        QTest::newRow("missing section") << QByteArray("[task]\nhintSize=5\n") << "option"
                                         << "hintSize" << 20 << 20 << true << "dflt";
        QTest::newRow("names ignore case") << QByteArray("[OPTION]\nHINTSIZE = 7 \n") << "Option"
                                           << "hintsize" << 20 << 7 << true << "7";
        QTest::newRow("CR LF lines")
            << QByteArray("[a]\r\nk=1\r\n[option]\r\nhintSize=9\r\n") << "option"
            << "hintSize" << 20 << 9 << true << "9";
        QTest::newRow("quotes stripped") << QByteArray("[s]\nk=\"x y\"\n") << "s"
                                         << "k" << 3 << 3 << true << "x y";
        QTest::newRow("first of two") << QByteArray("[s]\nk=1\nk=2\n") << "s"
                                      << "k" << 0 << 1 << true << "1";
        QTest::newRow("key in other section") << QByteArray("[a]\nk=1\n[b]\nj=2\n") << "b"
                                              << "k" << 4 << 4 << true << "dflt";
        QTest::newRow("too big") << QByteArray("[s]\nk=99999999999\n") << "s"
                                 << "k" << 6 << 6 << true << "99999999999";
        QTest::newRow("no file") << QByteArray() << "s"
                                 << "k" << 0 << 0 << false << "dflt";
    }
    void readingRules() {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(int, intDefault);
        QFETCH(int, asInt);
        QFETCH(bool, asBool);
        QFETCH(QString, asText);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zvConf.ini"));
        if (!file.isNull())
            QVERIFY(test::WriteFile(path, file));
        const IniFile ini(path);
        QCOMPARE(ini.readInteger(section, key, intDefault), asInt);
        QCOMPARE(ini.readBool(section, key, intDefault != 0), asBool);
        QCOMPARE(ini.readString(section, key, QStringLiteral("dflt")), asText);
    }

    void longValuesAreCut() {
        QTemporaryDir dir;
        const IniFile ini(dir.filePath(QStringLiteral("c.ini")));
        ini.writeString(QStringLiteral("s"), QStringLiteral("k"), QString(3000, u'v'));
        QCOMPARE(ini.readString(QStringLiteral("s"), QStringLiteral("k"), QString()).size(), 2047);
    }

    void writesKeepEverythingElse() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("c.ini"));
        QVERIFY(test::WriteFile(
            path, "; a comment\n[option]\nhintSize=30\nAddOpenEn=0\n\n[form]\nLeft=10\n"));
        const auto privateMode = QFile::ReadOwner | QFile::WriteOwner;
        QVERIFY(QFile::setPermissions(path, privateMode));
        const IniFile ini(path);
        ini.writeBool(QStringLiteral("OPTION"), QStringLiteral("addopenen"), true); // replaced
        ini.writeInteger(QStringLiteral("option"), QStringLiteral("runMinimizedEn"),
                         1); // added to section
        ini.writeInteger(QStringLiteral("log"), QStringLiteral("privateTasks"), 12); // new section
        QCOMPARE(ini.readInteger(QStringLiteral("option"), QStringLiteral("hintSize"), 0), 30);
        QCOMPARE(ini.readBool(QStringLiteral("option"), QStringLiteral("addOpenEn"), false), true);
        QCOMPARE(ini.readInteger(QStringLiteral("option"), QStringLiteral("runMinimizedEn"), 0), 1);
        QCOMPARE(ini.readInteger(QStringLiteral("form"), QStringLiteral("Left"), 0), 10);
        QCOMPARE(ini.readInteger(QStringLiteral("log"), QStringLiteral("privateTasks"), 0), 12);
        const QByteArray text = test::ReadFile(path);
        QVERIFY(
            text.startsWith("; a comment\n[option]\nhintSize=30\naddopenen=1\nrunMinimizedEn=1\n"));
        QCOMPARE(text.count("[option]"), 1);
        // The file replaced keeps its permissions and leaves nothing beside.
        const auto userFlags = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
        QCOMPARE(QFile::permissions(path) & ~userFlags, privateMode);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("c.ini")});
        // A user's edit between two calls is seen at once: nothing is cached.
        QVERIFY(test::WriteFile(path, "[option]\nhintSize=44\n"));
        QCOMPARE(ini.readInteger(QStringLiteral("option"), QStringLiteral("hintSize"), 0), 44);
    }

    // A change of the same length inside one sector is written over the old
    // bytes (the file stays the same file); any other is a replacement. The
    // text must be right either way.
    void writesInPlaceOnlyWhereSafe_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("sameFile");
        QTest::newRow("flip") << "viewAscEn"
                              << "0" << true;
        QTest::newRow("same value") << "viewAscEn"
                                    << "1" << true;
        QTest::newRow("longer") << "viewAscEn"
                                << "10" << false;
        QTest::newRow("new key") << "viewListEn"
                                 << "1" << false;
        // "pad" straddles the first sector boundary of the file below.
        QTest::newRow("across sectors") << "pad" << QString(600, u'y') << false;
        QTest::newRow("far end, one sector") << "last"
                                             << "9" << true;
    }
    void writesInPlaceOnlyWhereSafe() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(bool, sameFile);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("c.ini"));
        QVERIFY(test::WriteFile(path,
                                "[task]\nviewAscEn=1\npad=" + QByteArray(600, 'x') + "\nlast=1\n"));
        struct stat before, after;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &before), 0);
        const IniFile ini(path);
        ini.writeString(QStringLiteral("task"), key, value);
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &after), 0);
        QCOMPARE(after.st_ino == before.st_ino, sameFile);
        QCOMPARE(ini.readString(QStringLiteral("task"), key, QString()), value);
        QCOMPARE(ini.readString(QStringLiteral("task"), QStringLiteral("last"), QString()),
                 key == QStringLiteral("last") ? value : QStringLiteral("1"));
        QCOMPARE(test::ReadFile(path).count('\n'), key == QStringLiteral("viewListEn") ? 5 : 4);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("c.ini")});
    }

    void failedWriteNamesTheFile() {
        QTemporaryDir dir;
        QVERIFY(test::WriteFile(dir.filePath(QStringLiteral("blocker")), "not a folder"));
        const QString path = dir.filePath(QStringLiteral("blocker/zvConf.ini"));
        try {
            IniFile(path).writeInteger(QStringLiteral("s"), QStringLiteral("k"), 1);
            QFAIL("the write did not fail");
        } catch (const IniWriteError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Unable to write to ") + path);
        }
    }

    void isoDateTimeText_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTC") << QByteArray("UTC") << "2024-03-05T14:07:09.000Z";
        QTest::newRow("UTC+5:30") << QByteArray("IST-5:30") << "2024-03-05T14:07:09.000+05:30";
        QTest::newRow("UTC-3:30") << QByteArray("NST3:30") << "2024-03-05T14:07:09.000-03:30";
    }
    void isoDateTimeText() {
        QFETCH(QByteArray, zone);
        QFETCH(QString, text);
        test::SetZone(zone.constData());
        const TDateTime t = ToDateTime(QDate(2024, 3, 5), QTime(14, 7, 9, 600));
        QCOMPARE(FormatIsoDateTime(t), text); // milliseconds are never written
        QCOMPARE(FormatIsoDateTime(t, false), text.left(23) + u'Z');
        // Read back on the same machine: the same time to the second.
        QCOMPARE(FromDateTime(ParseIsoDateTime(text)),
                 QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    }

    void isoDateTimeFromAnotherZone() {
        test::SetZone("IST-5:30");
        // 09:00 at UTC-3:30 is 12:30 UTC, 18:00 at UTC+5:30.
        QCOMPARE(FromDateTime(ParseIsoDateTime(QStringLiteral("2024-01-10T09:00:00.000-03:30"))),
                 QDateTime(QDate(2024, 1, 10), QTime(18, 0)));
        QCOMPARE(FromDateTime(ParseIsoDateTime(QStringLiteral("2024-01-10T23:00:00Z"))),
                 QDateTime(QDate(2024, 1, 11), QTime(4, 30)));
        QCOMPARE(FormatIsoDateTime(0), QStringLiteral("1899-12-30T00:00:00.000+05:30"));
        for (const char* bad : {"", "yesterday", "2024-13-01T00:00:00Z", "2024-01-01 10:00:00",
                                "2024-01-01T10:00:00+5", "2024-01-01T10:00:00\xc2\xa0x"}) {
            QVERIFY_THROWS_EXCEPTION(DateTimeParseError, ParseIsoDateTime(QString::fromUtf8(bad)));
            QVERIFY_THROWS_EXCEPTION(DateTimeParseError, ParseIsoDateTimeUtf8(bad, 0));
        }
        // The file readers' byte parser reads what the text parser reads,
        // blanks beyond ASCII included.
        for (const char* good : {"2024-01-10T09:00:00.000-03:30", " 2024-01-10T23:00:00Z ",
                                 "\xc2\xa0"
                                 "2024-01-10T23:00:00.5+01:00\xe2\x80\x83"})
            QCOMPARE(ParseIsoDateTimeUtf8(good, -330),
                     ParseIsoDateTime(QString::fromUtf8(good), -330));
    }

    void loadOptionsOnAFreshInstallation() {
        QTemporaryDir dir;
        const IniFile ini(dir.filePath(QStringLiteral("zvConf.ini")));
        Clock::SetForTesting([] { return QDateTime(QDate(2026, 5, 1), QTime(8, 30, 15)); });
        AppOptions o;
        ReadWindowOptions(ini, o);
        QCOMPARE(LoadOptions(ini, o), QString());
        QCOMPARE(o.hintSize, 20);
        QCOMPARE(o.addOpenEn, false);
        QCOMPARE(o.runMinimizedEn, false);
        QCOMPARE(o.visitWebEn, true);
        QCOMPARE(FromDateTime(o.visitWebTime), QDateTime(QDate(2026, 5, 1), QTime(8, 30, 15)));
        QCOMPARE(ini.readString(QStringLiteral("option"), QStringLiteral("visitWeb"), QString()),
                 QStringLiteral("2026-05-01T08:30:15.000Z"));
    }

    void loadOptionsReadsStoredValues() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zvConf.ini"));
        QVERIFY(test::WriteFile(
            path, "[option]\nvisitWebEn=0\nrunMinimizedEn=1\nhintSize=0x10\naddOpenEn=1\n"
                  "visitWeb=2025-01-02T03:04:05.000Z\n"));
        const IniFile ini(path);
        AppOptions o;
        ReadWindowOptions(ini, o);
        QCOMPARE(LoadOptions(ini, o), QString());
        QCOMPARE(o.hintSize, 16);
        QVERIFY(o.addOpenEn && o.runMinimizedEn && !o.visitWebEn);
        QCOMPARE(FromDateTime(o.visitWebTime), QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)));
    }

    void unreadableVisitWebIsReportedAndReplaced() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("zvConf.ini"));
        QVERIFY(test::WriteFile(path, "[option]\nvisitWeb=last tuesday\n"));
        Clock::SetForTesting([] { return QDateTime(QDate(2026, 2, 3), QTime(4, 5, 6)); });
        const IniFile ini(path);
        AppOptions o;
        QVERIFY(LoadOptions(ini, o).contains(QLatin1String("last tuesday")));
        QCOMPARE(ini.readString(QStringLiteral("option"), QStringLiteral("visitWeb"), QString()),
                 QStringLiteral("2026-02-03T04:05:06.000Z"));
        QCOMPARE(LoadOptions(ini, o), QString()); // once only
    }

    void wholeDays() {
        const TDateTime a = ToDateTime(QDate(2026, 1, 1), QTime(12, 0));
        QCOMPARE(WholeDaysBetween(a, a + 90.99), 90);
        QCOMPARE(WholeDaysBetween(a + 91, a), 91);
    }

    void autoStartRules() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("config/autostart"));
        const AutoStart mine(folder, QStringLiteral("/opt/my apps/tasquel"));
        QVERIFY(!mine.isAutoStart());
        mine.setAutoStart(false); // nothing there: nothing happens
        QVERIFY(!QFile::exists(folder));
        mine.setAutoStart(true);
        QVERIFY(mine.isAutoStart());
        const QByteArray entry = test::ReadFile(mine.entryPath());
        QVERIFY(entry.contains("Exec=\"/opt/my apps/tasquel\"\n"));
        QVERIFY(entry.contains("Name=Zarvik Tasquel\n"));
        QVERIFY(mine.entryPath().endsWith(QLatin1String("/Zarvik Tasquel.desktop")));

        // An entry that names another program path is never replaced.
        const AutoStart other(folder, QStringLiteral("/usr/bin/other"));
        QVERIFY(other.isAutoStart());
        other.setAutoStart(true);
        QCOMPARE(test::ReadFile(mine.entryPath()), entry);
        other.setAutoStart(false);
        QVERIFY(!mine.isAutoStart());
    }

    void autoStartFolderThatCannotBeUsedReadsOff() {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("autostart"));
        QVERIFY(test::WriteFile(blocker, "a file where the folder should be"));
        const AutoStart a(blocker, QStringLiteral("/usr/bin/tasquel"));
        QVERIFY(!a.isAutoStart());
        a.setAutoStart(true); // silently nothing
        QVERIFY(!a.isAutoStart());
        QCOMPARE(test::ReadFile(blocker), QByteArray("a file where the folder should be"));
    }

    void guidsAndTrims() {
        const QString id = NewGuid();
        QVERIFY(QRegularExpression(
                    QStringLiteral(
                        "^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"))
                    .match(id)
                    .hasMatch());
        QVERIFY(NewGuid() != id);
        QCOMPARE(TrimRight(QStringLiteral("  a b \t\r\n\x01")), QStringLiteral("  a b"));
        QCOMPARE(TrimBoth(QStringLiteral("\t milk  ")), QStringLiteral("milk"));
        QCOMPARE(FlattenLineBreaks(QStringLiteral("a\r\nb\nc")), QStringLiteral("a  b c"));
    }
};

QTEST_GUILESS_MAIN(TestConfig)
#include "test_config.moc"
