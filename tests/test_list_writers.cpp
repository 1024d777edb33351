#include "TestSupport.h"
#include "core/ListWriters.h"
#include "core/TaskTreeModel.h"

#include <QtTest>

namespace {

const QString kTab = QStringLiteral("\t");

QString RowStart(const char* bg) {
    return QStringLiteral("<tr><th scope=\"row\" style=\"color: #000000; border-right: 1px solid "
                          "#C1DAD7;") +
           kTab +
           QStringLiteral("border-bottom: 1px solid #C1DAD7; border-left: 1px solid #C1DAD7;") +
           kTab + QStringLiteral("border-top: 0; text-align: left;") + kTab +
           QStringLiteral("padding: 6px 6px 6px 12px;") + kTab + QStringLiteral("background: ") +
           QLatin1String(bg) + QStringLiteral("; font-weight: normal;\">");
}
QString Cell(const char* bg) {
    return QStringLiteral("<td style=\"border-right: 1px solid #C1DAD7;") + kTab +
           QStringLiteral("border-bottom: 1px solid #C1DAD7;") + kTab +
           QStringLiteral("padding: 6px 6px 6px 12px; background: ") + QLatin1String(bg) +
           QStringLiteral(";\">");
}

struct Fixture {
    TaskTreeModel model;
    std::vector<const TaskNode*> pick(const QStringList& texts) const {
        std::vector<const TaskNode*> out;
        for (const QString& t : texts)
            for (const TaskNode* n : model.flatNodes())
                if (n->info.content == t)
                    out.push_back(n);
        return out;
    }
};

TTaskInfo Done(const char* tid, const char* pid, const char* text, double when) {
    TTaskInfo t = test::Task(tid, pid, text, true);
    t.checkTime = when;
    return t;
}

} // namespace

class TestListWriters : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    test::ProgramFolder m_folder;
    Fixture m_f;
    ListWriters::Context m_c;

    QString date(double t) const {
        return m_c.locale.toString(FromDateTime(t).date(), QLocale::ShortFormat);
    }
    QString stamp() const {
        return m_c.locale.toString(m_c.now.date(), QLocale::ShortFormat) + u' ' +
               QStringLiteral("08:05:03"); // no zone
    }

private slots:
    void initTestCase() {
        test::FixEnvironment();
        Database db;
        db.open(m_folder.path());
        TTaskInfo due = test::Task("{B}", "root", "b <two>\r\nlines & more");
        due.dueFlag = true;
        due.dueTime = 46100.5;
        test::InsertTask(db, test::Task("{A}", "root", "a"));
        test::InsertTask(db, test::Task("{A1}", "{A}", "a1"));
        test::InsertTask(db, Done("{A2}", "{A}", "a2 done", 46000.25));
        test::InsertTask(db, test::Task("{A3}", "{A}", "a3\r\nnext"));
        test::InsertTask(db, due);
        test::InsertTask(db, Done("{C}", "root", "c done", 46001.75));
        LoadTaskTree(db, m_f.model);
        m_c = {QStringLiteral("1.7.5.30"), QStringLiteral("https://www.zarvik.example/tasquel"),
               QDateTime(QDate(2026, 12, 9), QTime(8, 5, 3)), QLocale::c()};
    }

    void text_data() {
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QStringList>("body");
        QTest::addColumn<QString>("counts");
        QTest::newRow("nothing selected")
            << QStringList() << QStringList() << "Tasks 0, Sub-Tasks 0";
        QTest::newRow("task with three sub-tasks")
            << QStringList({"a"})
            << QStringList({" * a - Incomplete", "   - a1 - Incomplete",
                            "   - a2 done - completed at " + date(46000.25), "   - a3",
                            "     next - Incomplete"})
            << "Tasks 1, Sub-Tasks 3";
        QTest::newRow("sub-task alone is a task")
            << QStringList({"a2 done"})
            << QStringList({" * a2 done - completed at " + date(46000.25)})
            << "Tasks 1, Sub-Tasks 0";
        QTest::newRow("two lines and a due date")
            << QStringList({"b <two>\r\nlines & more", "c done"})
            << QStringList({" * b <two>",
                            "   lines & more - Incomplete - Due Date " + date(46100.5),
                            " * c done - completed at " + date(46001.75)})
            << "Tasks 2, Sub-Tasks 0";
    }
    void text() {
        QFETCH(QStringList, selected);
        QFETCH(QStringList, body);
        QFETCH(QString, counts);
        QStringList lines = {"To-Do List", QString(33, u'-'), ""};
        lines += body;
        lines += {"", QString(33, u'-'), " " + counts + " - " + stamp(),
                  " By Zarvik Tasquel 1.7.5.30", " https://www.zarvik.example/tasquel"};
        const QByteArray expected = (lines.join(QStringLiteral("\r\n")) + "\r\n").toUtf8();
        QCOMPARE(ListWriters::TasksText(m_f.pick(selected), m_c), expected);
    }

    void html() {
        const QByteArray page =
            ListWriters::TasksHtml(m_f.pick({"a", "b <two>\r\nlines & more", "c done"}), m_c);
        QVERIFY(!page.startsWith("\xEF\xBB\xBF"));
        QVERIFY(page.endsWith("</body></html>\r\n"));
        const QStringList lines = QString::fromUtf8(page).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.mid(0, 3),
                 QStringList(
                     {"<html><head><meta charset=\"utf-8\"></head><body>", "<h1>To-Do List</h1>",
                      "<table style=\"width: 100%; padding: 0; margin: 0;\" cellspacing=\"0\">"}));
        const QString head =
            QStringLiteral(
                "<th scope=\"col\" style=\"color: #4f6b72; border-right: 1px solid #C1DAD7;") +
            kTab +
            QStringLiteral("border-bottom: 1px solid #C1DAD7; border-top: 1px solid #C1DAD7;") +
            kTab + QStringLiteral("text-align: left;") + kTab +
            QStringLiteral("padding: 6px 6px 6px 12px;") + kTab +
            QStringLiteral("background: #CAE8EA;\" >");
        QCOMPARE(lines[3], "<tr>" + head + "Task Content</th>");
        QCOMPARE(lines[5], head + "Due Date</th></tr>");
        // Task a: the first row, #F3F3FA; its three sub-tasks white; task b
        // the second row, #F5FFE8; c the third, #F3F3FA again.
        QCOMPARE(lines.mid(6, 5),
                 QStringList({RowStart("#F3F3FA"), "a</th>", Cell("#F3F3FA") + "Incomplete</td>",
                              Cell("#F3F3FA") + " - </td>", "</tr>"}));
        QVERIFY(lines[11].contains(QLatin1String("padding: 6px 6px 6px 32px;")));
        QCOMPARE(lines[12], QStringLiteral("a1</th>"));
        QCOMPARE(lines[22], QStringLiteral("a3<br> next</th>"));
        QCOMPARE(lines.mid(26, 5),
                 QStringList({RowStart("#F5FFE8"), "b &lt;two&gt;<br> lines &amp; more</th>",
                              Cell("#F5FFE8") + "Incomplete</td>",
                              Cell("#F5FFE8") + date(46100.5) + "</td>", "</tr>"}));
        QCOMPARE(lines[31], RowStart("#F3F3FA"));
        QCOMPARE(lines[33], Cell("#F3F3FA") + "completed at " + date(46001.75) + "</td>");
        QCOMPARE(lines.mid(36),
                 QStringList({"</table>", "<p>Tasks 3, Sub-Tasks 3 - " + stamp() + "</p>",
                              "<p>By Zarvik Tasquel 1.7.5.30</p>",
                              "<p><a href=\"https://www.zarvik.example/tasquel?tl-f\">"
                              "https://www.zarvik.example/tasquel</a></p>",
                              "</body></html>", ""}));
    }
};

QTEST_GUILESS_MAIN(TestListWriters)
#include "test_list_writers.moc"
