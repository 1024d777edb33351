#include "TestSupport.h"
#include "core/Interchange.h"
#include "core/TaskTreeModel.h"
#include "core/XmlTry.h"
#include "platform/pU_Funcs.h"

#include <QXmlStreamReader>
#include <QtEndian>
#include <QtTest>
#include <pugixml.hpp>
#include <zlib.h>

using namespace Interchange;

namespace {

constexpr qint64 kRealSize = std::numeric_limits<qint64>::min();

QByteArray container(const QByteArray& xml, qint64 claimed = kRealSize) {
    QByteArray out(8, 0);
    qToLittleEndian<qint64>(claimed == kRealSize ? xml.size() : claimed, out.data());
    uLongf size = compressBound(uLong(xml.size()));
    QByteArray z(int(size), 0);
    compress2(reinterpret_cast<Bytef*>(z.data()), &size,
              reinterpret_cast<const Bytef*>(xml.constData()), uLong(xml.size()), 9);
    z.resize(int(size));
    return out + z;
}

int count(Database& db, const char* table) {
    Query q(db);
    OpenQuery(q, QStringLiteral("select count(*) as cnt from %1").arg(QLatin1String(table)));
    return q.integer("cnt");
}

TTaskInfo full(const char* tid, const char* pid, const QString& content) {
    TTaskInfo t = test::Task(tid, pid, content, true, true);
    t.dueFlag = t.alarmFlag = true;
    t.textColor = -16777203; // a system colour
    t.backgroundColor = 0x00E0F0FF;
    t.createTime = ToDateTime(QDate(2024, 1, 2), QTime(3, 4, 5));
    t.editTime = ToDateTime(QDate(2024, 2, 3), QTime(4, 5, 6));
    t.checkTime = ToDateTime(QDate(2024, 3, 4), QTime(5, 6, 7));
    t.alarmTime = ToDateTime(QDate(2024, 4, 5), QTime(6, 7, 8));
    t.dueTime = ToDateTime(QDate(2024, 5, 6), QTime(0, 0));
    return t;
}

void insertMemo(Database& db, const QString& mid, const QString& text) {
    Query q(db);
    OpenQuery(q, "select * from memos where 0=1");
    q.append();
    q.setText("mid", mid);
    q.setText("pid", "root");
    q.setText("content", text);
    q.setDateTime("assignTime", ToDateTime(QDate(2023, 7, 8), QTime(9, 10, 11)));
    q.post();
}

struct Recorder {
    QStringList errors;
    QList<ReplaceQuestion> questions;
    QList<Answer> answers; // given in turn; Yes when run out
    ErrorBox box() {
        return [this](const QString& t) { errors << t; };
    }
    Ask ask() {
        return [this](const ReplaceQuestion& q) {
            questions << q;
            return answers.isEmpty() ? Answer::Yes : answers.takeFirst();
        };
    }
};

} // namespace

class TestInterchange : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString file(const char* name) { return m_dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase() { test::FixEnvironment(); }
    void cleanup() {
        test::SetZone("UTC");
        Clock::SetForTesting({});
    }

    void findNode_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reached"); // name, and "#n" for a record
        QTest::newRow("root only") << "zarvik"
                                   << "zarvik";
        QTest::newRow("any single component") << "anything"
                                              << "zarvik";
        QTest::newRow("section") << "zarvik,tasks"
                                 << "tasks";
        QTest::newRow("first record") << "zarvik,tasks,task#0"
                                      << "task#0";
        QTest::newRow("prefix ignored") << "zarvik,tasks,x#1"
                                        << "task#1";
        QTest::newRow("past the end") << "zarvik,tasks,task#3"
                                      << "tasks";
        QTest::newRow("negative") << "zarvik,tasks,task#-1"
                                  << "tasks";
        QTest::newRow("case counts") << "zarvik,Tasks"
                                     << "zarvik";
        QTest::newRow("unknown, then position") << "zarvik,nosuch,memo#0"
                                                << "tasks";
        QTest::newRow("name after record") << "zarvik,memos,memo#0,x"
                                           << "memo#0";
    }
    void findNode() {
        QFETCH(QString, path);
        QFETCH(QString, reached);
        Txmltry xml;
        xml.LoadXml("<zarvik><tasks><task n=\"0\"/><task n=\"1\"/><task n=\"2\"/></tasks>"
                    "<memos><memo n=\"0\"/></memos><notes/></zarvik>");
        const pugi::xml_node n = xml.FindNode(path);
        QString got = QString::fromUtf8(n.name());
        if (n.attribute("n"))
            got += u'#' + QString::fromUtf8(n.attribute("n").value());
        QCOMPARE(got, reached);
    }

    void childCountAndAttributes() {
        QStringList boxes;
        Txmltry xml([&](const QString& t) { boxes << t; });
        xml.LoadXml(QString::fromLatin1(Skeleton));
        QCOMPARE(xml.ChildCount("zarvik"), 4);
        QCOMPARE(xml.ChildCount("zarvik,tasks"), 0);
        QCOMPARE(xml.ChildCount("zarvik,nosuch"), 4); // counts where it stopped
        QCOMPARE(xml.GetAttr("zarvik", "dataversion"), QStringLiteral("1.1"));
        QVERIFY(xml.SetAttr("zarvik", "app", "x"));
        QVERIFY(!xml.SetAttr("zarvik", "nosuch", "x"));
        QCOMPARE(xml.GetAttr("zarvik", "missing"), QString());
        QCOMPARE(boxes, QStringList({"zarvik: nosuch not Exist !", "zarvik: missing not Exist !"}));
        QVERIFY_THROWS_EXCEPTION(XmlFileError, xml.FindNode("zarvik,tasks,task#x"));
    }

    void backupAndRestoreGiveBackEveryField() {
        test::ProgramFolder source;
        Database db;
        db.open(source.path());
        test::InsertTask(
            db, full("{P}", "root", QStringLiteral("it's <b> & \"q\"\r\nline two äöü 日本")));
        test::InsertTask(db, full("{C}", "{P}", QStringLiteral("child\r\n\r\n  spaced  ")));
        test::InsertTask(db, test::Task("{E}", "root", "")); // empty times and flags
        test::InsertTask(db, test::Task("{O}", "{nowhere}", "orphan"));
        insertMemo(db, "{M}", "memo\r\ntext");
        const QStringList before = test::TableText(db);
        Recorder r;
        WriteBackup(db, file("all.zvx"), "1.7.5.30", r.box());

        test::ProgramFolder target;
        Database copy;
        copy.open(target.path());
        QVERIFY(RestoreFromFile(copy, file("all.zvx"), r.ask(), r.box()));
        QVERIFY(r.errors.isEmpty());
        QVERIFY(r.questions.isEmpty()); // nothing to replace in an empty database
        QStringList after = test::TableText(copy);
        // expandFlag is not carried; an empty date-time comes back as the
        // zero date-time, which reads the same.
        const auto normal = [](QStringList rows) {
            for (QString& row : rows) {
                QStringList cols = row.split(u'|');
                cols[6] = "-";
                for (int i = 9; i < cols.size(); ++i)
                    if (cols[i] == "<null>")
                        cols[i] = "0.0";
                row = cols.join(u'|');
            }
            return rows;
        };
        QCOMPARE(normal(after), normal(before));
        QCOMPARE(count(copy, "memos"), 1);
        Query q(copy);
        OpenQuery(q, "select * from memos");
        QCOMPARE(q.text("content"), QStringLiteral("memo\r\ntext"));
        QCOMPARE(FromDateTime(q.dateTime("assignTime")),
                 QDateTime(QDate(2023, 7, 8), QTime(9, 10, 11)));
    }

    void independentReaderDecodesTheBackup() {
        test::ProgramFolder source;
        Database db;
        db.open(source.path());
        test::InsertTask(db, full("{P}", "root", QStringLiteral("a & b\r\nc")));
        Clock::SetForTesting([] { return QDateTime(QDate(2026, 1, 1), QTime(12, 0)); });
        WriteBackup(db, file("plain.zvx"), "1.7.5.30");
        QFile f(file("plain.zvx"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        const qint64 length = qFromLittleEndian<qint64>(bytes.constData());
        QByteArray xml(int(length), 0);
        uLongf size = uLongf(length);
        QCOMPARE(uncompress(reinterpret_cast<Bytef*>(xml.data()), &size,
                            reinterpret_cast<const Bytef*>(bytes.constData() + 8),
                            uLong(bytes.size() - 8)),
                 Z_OK);
        QCOMPARE(qint64(size), length);
        QXmlStreamReader r(xml);
        QStringList seen;
        while (!r.atEnd()) {
            if (r.readNext() != QXmlStreamReader::StartElement)
                continue;
            seen << r.name().toString();
            if (r.name() == u"zarvik") {
                QCOMPARE(r.attributes().value("app"), u"Tally-Ward");
                QCOMPARE(r.attributes().value("appversion"), u"1.7.5.30");
                QCOMPARE(r.attributes().value("time"), u"2026-01-01T12:00:00.000Z");
                QStringList names;
                for (const auto& a : r.attributes())
                    names << a.name().toString();
                QCOMPARE(names, QStringList({"app", "appversion", "dataversion", "time"}));
            }
            if (r.name() == u"task") {
                QStringList names;
                for (const auto& a : r.attributes())
                    names << a.name().toString();
                QCOMPARE(names,
                         QStringList({"tid", "pid", "content", "check-flag", "alarm-flag",
                                      "due-flag", "text-color", "background-color", "create-time",
                                      "edit-time", "check-time", "alarm-time", "due-time"}));
                QCOMPARE(r.attributes().value("content"), u"a & b\r\nc");
                QCOMPARE(r.attributes().value("check-flag"), u"True");
                QCOMPARE(r.attributes().value("text-color"), u"-16777203");
                QCOMPARE(r.attributes().value("due-time"), u"2024-05-06T00:00:00.000Z");
            }
        }
        QVERIFY(!r.hasError());
        QCOMPARE(seen, QStringList({"zarvik", "tasks", "task", "memos", "notes", "peers"}));
    }

    void dateTimesCarryTheWritingMachinesOffset_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("UTC") << QByteArray("UTC") << "Z";
        QTest::newRow("UTC+5:30") << QByteArray("IST-5:30") << "+05:30";
        QTest::newRow("UTC-3:30") << QByteArray("NST3:30") << "-03:30";
    }
    void dateTimesCarryTheWritingMachinesOffset() {
        QFETCH(QByteArray, zone);
        QFETCH(QString, suffix);
        test::SetZone(zone.constData());
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        test::InsertTask(db, test::Task("{E}", "root", "no dates"));
        WriteBackup(db, file("zone.zvx"), "1.7.5.30");
        Txmltry xml;
        xml.LoadFile(file("zone.zvx"));
        QCOMPARE(xml.GetAttr("zarvik,tasks,task#0", "check-time"),
                 QStringLiteral("1899-12-30T00:00:00.000") + suffix);
        // Read back in the same zone: the zero date-time again.
        test::ProgramFolder target;
        Database copy;
        copy.open(target.path());
        Recorder r;
        QVERIFY(RestoreFromFile(copy, file("zone.zvx"), r.ask(), r.box()));
        Query q(copy);
        OpenQuery(q, "select * from tasks");
        QCOMPARE(q.dateTime("checkTime"), 0.0);
    }

    void damagedFilesAreRefusedWithoutChange_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = "<zarvik app=\"Tally-Ward\"><tasks><task tid=\"{X}\" pid=\"root\" "
                                "content=\"x\"/></tasks><memos/></zarvik>";
        QByteArray shortStream = container(good);
        shortStream.chop(6);
        QByteArray damaged = container(good);
        damaged[12] = char(damaged[12] ^ 0x55);
        damaged[20] = char(damaged[20] ^ 0x55);
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("short header") << QByteArray("\x05\x00\x00", 3);
        QTest::newRow("length zero") << container(good, 0);
        QTest::newRow("negative length") << container(good, -5);
        QTest::newRow("length beyond any ratio") << container(good, qint64(1) << 40);
        QTest::newRow("length a bit too long") << container(good, good.size() + 10);
        QTest::newRow("damaged stream") << damaged;
        QTest::newRow("stream cut short") << shortStream;
        QTest::newRow("not well formed") << container("<zarvik app=\"Tally-Ward\"><tasks>");
        QTest::newRow("plain XML, no container") << good;
        QTest::newRow("header only") << container(good).left(8);
    }
    void damagedFilesAreRefusedWithoutChange() {
        QFETCH(QByteArray, bytes);
        QVERIFY(test::WriteFile(file("bad.zvx"), bytes));
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        test::InsertTask(db, test::Task("{K}", "root", "keep me"));
        const QStringList before = test::TableText(db);
        Recorder r;
        QVERIFY(!ImportFromFile(db, file("bad.zvx"), r.box()));
        QVERIFY(!RestoreFromFile(db, file("bad.zvx"), r.ask(), r.box()));
        QCOMPARE(r.errors, QStringList({"File read failure!", "File read failure!"}));
        QCOMPARE(test::TableText(db), before);
    }

    void fileFromAnotherProgramIsAMismatch() {
        QVERIFY(test::WriteFile(
            file("foo.zvx"),
            container(
                "<zarvik app=\"Foo\"><tasks><task tid=\"{A}\" pid=\"root\"/></tasks></zarvik>")));
        QVERIFY(test::WriteFile(file("noapp.zvx"), container("<zarvik><tasks/></zarvik>")));
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        Recorder r;
        QVERIFY(!ImportFromFile(db, file("foo.zvx"), r.box()));
        QCOMPARE(r.errors, QStringList({"Data mismatch: FooTally-Ward"}));
        r.errors.clear();
        QVERIFY(!RestoreFromFile(db, file("noapp.zvx"), r.ask(), r.box()));
        QCOMPARE(r.errors, QStringList({"zarvik: app not Exist !", "Data mismatch: Tally-Ward"}));
        QCOMPARE(count(db, "tasks"), 0);
    }

    void hostileLengthDoesNotAllocateIt() {
        // A tiny file that claims the most its size allows: read fails
        // quickly instead of reserving the claimed amount.
        QByteArray bytes = container("<zarvik/>", 100 * 1032);
        bytes += QByteArray(100, '\0');
        QVERIFY(test::WriteFile(file("claim.zvx"), bytes));
        QVERIFY_THROWS_EXCEPTION(XmlFileError, Txmltry::ReadContainer(file("claim.zvx")));
    }

    void fileWrittenByOtherCodeIsRead() {
        // Our own zlib and XML text, with LF line breaks and a CR escape.
        const QByteArray xml =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<zarvik app=\"Tally-Ward\" "
            "appversion=\"9\">\n"
            "  <tasks>\n"
            "    <task tid=\"{T}\" pid=\"root\" content=\"one&#10;two&#13;&#10;three\" "
            "check-flag=\"True\" "
            "alarm-flag=\"False\" due-flag=\"\" text-color=\"255\" background-color=\"\" "
            "create-time=\"2024-06-01T10:00:00+02:00\" edit-time=\"2024-06-01T10:00:00.5Z\" "
            "check-time=\"\" "
            "alarm-time=\"2024-06-01T10:00:00Z\" due-time=\"2024-06-02T00:00:00.000Z\"/>\n"
            "  </tasks>\n  <memos/>\n</zarvik>\n";
        QVERIFY(test::WriteFile(file("other.zvx"), container(xml)));
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        Recorder r;
        QVERIFY(RestoreFromFile(db, file("other.zvx"), r.ask(), r.box()));
        QVERIFY2(r.errors.isEmpty(), qPrintable(r.errors.join(", ")));
        Query q(db);
        OpenQuery(q, "select * from tasks");
        QCOMPARE(q.text("content"), QStringLiteral("one\r\ntwo\r\nthree"));
        QVERIFY(q.boolean("checkFlag"));
        QVERIFY(q.isNull(q.fieldIndex("dueFlag")));
        QCOMPARE(q.integer("textColor"), 255);
        QCOMPARE(FromDateTime(q.dateTime("createTime")), QDateTime(QDate(2024, 6, 1), QTime(8, 0)));
        QCOMPARE(FromDateTime(q.dateTime("editTime")),
                 QDateTime(QDate(2024, 6, 1), QTime(10, 0, 0, 500)));
    }

    // A record that would change nothing is not asked about; one column
    // that differs is.
    void identicalRecordsAreNotAsked() {
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        test::InsertTask(db, test::Task("{L}", "root", "two\r\nlines"));
        test::InsertTask(db, test::Task("{C}", "root", "coloured"));
        WriteBackup(db, file("same.zvx"), "1");
        db.exec("update tasks set textColor=255 where tid='{C}'");
        Recorder r;
        r.answers = {Answer::No};
        QVERIFY(RestoreFromFile(db, file("same.zvx"), r.ask(), r.box()));
        QCOMPARE(r.questions.size(), 1);
        QCOMPARE(r.questions[0].fileContent, QStringLiteral("coloured"));
    }

    void secondRestoreAsks() {
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        insertMemo(db, "{M1}", "memo one");
        insertMemo(db, "{M2}", "memo two");
        test::InsertTask(db, test::Task("{A}", "root", "a"));
        test::InsertTask(db, test::Task("{B}", "root", "b"));
        WriteBackup(db, file("b.zvx"), "1");
        // Change the stored rows so replacing shows.
        Query q(db);
        ExecQuery(q, "update tasks set content='changed'");
        ExecQuery(q, "update memos set content='changed'");

        // No, then All: the first memo stays, all later records replaced
        // without another question, tasks included.
        Recorder r;
        r.answers = {Answer::No, Answer::All};
        QVERIFY(RestoreFromFile(db, file("b.zvx"), r.ask(), r.box()));
        QCOMPARE(r.questions.size(), 2);
        QCOMPARE(r.questions[0].kind, QStringLiteral("memo"));
        QCOMPARE(r.questions[0].fileContent, QStringLiteral("memo one"));
        QCOMPARE(r.questions[0].dbContent, QStringLiteral("changed"));
        OpenQuery(q, "select * from memos order by mid");
        QCOMPARE(q.text("content"), QStringLiteral("changed"));
        q.next();
        QCOMPARE(q.text("content"), QStringLiteral("memo two"));
        OpenQuery(q, "select count(*) as cnt from tasks where content='changed'");
        QCOMPARE(q.integer("cnt"), 0);

        // Abort at the first question: nothing more is read, still true.
        ExecQuery(q, "update tasks set content='changed'");
        ExecQuery(q, "update memos set content='changed'");
        Recorder abort;
        abort.answers = {Answer::Abort};
        QVERIFY(RestoreFromFile(db, file("b.zvx"), abort.ask(), abort.box()));
        QCOMPARE(abort.questions.size(), 1);
        OpenQuery(q, "select count(*) as cnt from tasks where content='changed'");
        QCOMPARE(q.integer("cnt"), 2);

        // Closed by the window button: unchanged, and the next one asks again.
        Recorder closed;
        closed.answers = {Answer::Closed, Answer::Closed, Answer::Yes, Answer::No};
        QVERIFY(RestoreFromFile(db, file("b.zvx"), closed.ask(), closed.box()));
        QCOMPARE(closed.questions.size(), 4);
        OpenQuery(q, "select * from tasks order by tid");
        QCOMPARE(q.text("content"), QStringLiteral("a"));
        q.next();
        QCOMPARE(q.text("content"), QStringLiteral("changed"));
        QCOMPARE(count(db, "memos"), 2); // nothing was added twice
    }

    void restoreAddsMissingAndKeepsOthers() {
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        test::InsertTask(db, test::Task("{A}", "root", "a"));
        WriteBackup(db, file("one.zvx"), "1");
        ExecQuery(*std::make_unique<Query>(db), "delete from tasks");
        test::InsertTask(db, test::Task("{Z}", "root", "only here"));
        Recorder r;
        QVERIFY(RestoreFromFile(db, file("one.zvx"), r.ask(), r.box()));
        QCOMPARE(count(db, "tasks"), 2);
        QVERIFY(r.questions.isEmpty());
    }

    void idTwiceInTheFileAsksForTheSecond() {
        // Ids differ by case only: two records; the same id again: a question.
        const QByteArray xml = "<?xml version=\"1.0\"?><zarvik app=\"Tally-Ward\"><tasks>"
                               "<task tid=\"{t}\" pid=\"root\" content=\"first\"/>"
                               "<task tid=\"{T}\" pid=\"root\" content=\"other\"/>"
                               "<task tid=\"{t}\" pid=\"root\" content=\"second\"/>"
                               "</tasks><memos/></zarvik>";
        QVERIFY(test::WriteFile(file("twice.zvx"), container(xml)));
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        Recorder r;
        r.answers = {Answer::Yes};
        QVERIFY2(RestoreFromFile(db, file("twice.zvx"), r.ask(), r.box()),
                 qPrintable(r.errors.join(", ")));
        QCOMPARE(r.questions.size(), 1);
        QCOMPARE(r.questions[0].dbContent, QStringLiteral("first"));
        QCOMPARE(r.questions[0].fileContent, QStringLiteral("second"));
        QCOMPARE(count(db, "tasks"), 2);
        Query q(db);
        OpenQuery(q, "select * from tasks where tid='{t}'");
        QCOMPARE(q.text("content"), QStringLiteral("second"));
    }

    void importMapsIds() {
        TaskTreeModel model;
        model.beginLoad();
        TaskNode* p = model.loadTopLevel(full("{P}", "root", "parent"));
        model.loadChild(p, test::Task("{P1}", "{P}", "one"));
        model.loadChild(p, test::Task("{P2}", "{P}", "two"));
        TaskNode* q2 = model.loadTopLevel(test::Task("{Q}", "root", "q"));
        model.endLoad();
        WriteExport({p, q2}, file("export.zvx"), "1.7.5.30");
        {
            Txmltry xml;
            xml.LoadFile(file("export.zvx"));
            QCOMPARE(xml.ChildCount("zarvik,tasks"), 4);
            QCOMPARE(xml.GetAttr("zarvik,tasks,task#1", "pid"), QStringLiteral("{P}"));
            QCOMPARE(xml.GetAttr("zarvik,tasks,task#3", "tid"), QStringLiteral("{Q}"));
        }
        WriteExport({p->children()[0].get(), p->children()[1].get()}, file("subs.zvx"), "1");

        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        Recorder r;
        QVERIFY(ImportFromFile(db, file("export.zvx"), r.box()));
        QVERIFY(ImportFromFile(db, file("export.zvx"), r.box())); // twice: two copies
        QVERIFY(ImportFromFile(db, file("subs.zvx"), r.box()));
        QVERIFY(r.errors.isEmpty());
        TaskTreeModel loaded;
        LoadTaskTree(db, loaded);
        QCOMPARE(loaded.totalCount(), 10);
        QCOMPARE(loaded.topLevel().size(), size_t(6));
        QStringList shape;
        QSet<QString> ids;
        for (const auto& t : loaded.topLevel()) {
            shape << QStringLiteral("%1:%2").arg(t->info.content).arg(t->children().size());
            ids << t->info.tid;
            QVERIFY(t->info.tid != "{P}" && t->info.tid != "{Q}");
        }
        QCOMPARE(shape, QStringList({"parent:2", "q:0", "parent:2", "q:0", "one:0", "two:0"}));
        QCOMPARE(ids.size(), 6);
        QCOMPARE(loaded.topLevel()[0]->info.content, QStringLiteral("parent"));
        QVERIFY(loaded.topLevel()[0]->info.checkFlag);
    }

    void importKeepsASubTaskThatComesFirst() {
        test::ProgramFolder source;
        Database db;
        db.open(source.path());
        test::InsertTask(db, test::Task("{C}", "{P}", "child first"));
        test::InsertTask(db, test::Task("{P}", "root", "parent later"));
        insertMemo(db, "{M}", "memo");
        WriteBackup(db, file("order.zvx"), "1");
        Recorder r;
        QVERIFY(ImportFromFile(db, file("order.zvx"), r.box()));
        TaskTreeModel loaded;
        LoadTaskTree(db, loaded);
        QCOMPARE(loaded.topLevel().size(), size_t(2));
        QCOMPARE(loaded.topLevel()[1]->children().size(), size_t(1));
        QCOMPARE(loaded.topLevel()[1]->children()[0]->info.content, QStringLiteral("child first"));
        QCOMPARE(count(db, "memos"), 2);
    }

    void badValueStopsTheRunWithItsOwnMessage() {
        QVERIFY(test::WriteFile(
            file("badflag.zvx"),
            container("<zarvik app=\"Tally-Ward\"><tasks>"
                      "<task tid=\"{1}\" pid=\"root\" content=\"ok\" check-flag=\"False\"/>"
                      "<task tid=\"{2}\" pid=\"root\" content=\"bad\" check-flag=\"Maybe\"/>"
                      "<task tid=\"{3}\" pid=\"root\" content=\"never\" check-flag=\"True\"/>"
                      "</tasks><memos/></zarvik>")));
        test::ProgramFolder folder;
        Database db;
        db.open(folder.path());
        Recorder r;
        QVERIFY(!RestoreFromFile(db, file("badflag.zvx"), r.ask(), r.box()));
        QCOMPARE(count(db, "tasks"), 1);
        // The first missing attribute, the bad value, then the count of the
        // missing attributes met before the run stopped.
        QCOMPARE(r.errors.size(), 3);
        QVERIFY(r.errors[0].endsWith(QLatin1String(" not Exist !")));
        QVERIFY(r.errors[1].contains(QLatin1String("Maybe")));
        QVERIFY(r.errors[2].startsWith(QLatin1String("... and ")));
    }
};

QTEST_GUILESS_MAIN(TestInterchange)
#include "test_interchange.moc"
