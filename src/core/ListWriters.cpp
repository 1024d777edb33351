#include "ListWriters.h"

#include "TaskRules.h"
#include "TaskTreeModel.h"
#include "platform/Clock.h"

namespace ListWriters {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kRule = QString(33, u'-');

QString DateText(const Context& c, TDateTime t) {
    return c.locale.toString(FromDateTime(t).date(), QLocale::ShortFormat);
}

QString Timestamp(const Context& c) {
    return c.locale.toString(c.now.date(), QLocale::ShortFormat) + u' ' +
           c.locale.toString(c.now.time(), LongTimeFormat(c.locale));
}

QString Continued(const QString& content, const QString& with) {
    QString s = content;
    s.replace(kCrLf, with);
    return s;
}

// Every selected row, and after a top-level one each of its sub-tasks,
// hidden or not.
template <typename Task, typename SubTask>
void Walk(const std::vector<const TaskNode*>& selected, int& tasks, int& subTasks, Task task,
          SubTask subTask) {
    tasks = subTasks = 0;
    for (const TaskNode* node : selected) {
        task(node->info);
        ++tasks;
        if (!node->isTopLevel())
            continue;
        for (const auto& child : node->children()) {
            subTask(child->info);
            ++subTasks;
        }
    }
}

QString Line(const QString& s) {
    return s + kCrLf;
}

} // namespace

QByteArray TasksText(const std::vector<const TaskNode*>& selected, const Context& c) {
    QString out = Line(QStringLiteral("To-Do List")) + Line(kRule) + kCrLf;
    const auto tail = [&](const TTaskInfo& t) {
        QString s = t.checkFlag ? QStringLiteral(" - completed at ") + DateText(c, t.checkTime)
                                : QStringLiteral(" - Incomplete");
        if (t.dueFlag)
            s += QStringLiteral(" - Due Date ") + DateText(c, t.dueTime);
        return s;
    };
    int tasks = 0, subTasks = 0;
    Walk(
        selected, tasks, subTasks,
        [&](const TTaskInfo& t) {
            out += Line(QStringLiteral(" * ") + Continued(t.content, QStringLiteral("\r\n   ")) +
                        tail(t));
        },
        [&](const TTaskInfo& t) {
            out += Line(QStringLiteral("   - ") +
                        Continued(t.content, QStringLiteral("\r\n     ")) + tail(t));
        });
    out += kCrLf + Line(kRule);
    out +=
        Line(QStringLiteral(" Tasks %1, Sub-Tasks %2 - ").arg(tasks).arg(subTasks) + Timestamp(c));
    out += Line(QStringLiteral(" By Zarvik Tasquel ") + c.version);
    out += Line(u' ' + c.pageAddress);
    return out.toUtf8();
}

namespace {
const QString kHeadCell = QStringLiteral(
    "<th scope=\"col\" style=\"color: #4f6b72; border-right: 1px solid #C1DAD7;\tborder-bottom: "
    "1px solid #C1DAD7; border-top: 1px solid #C1DAD7;\ttext-align: left;\tpadding: 6px 6px 6px "
    "12px;\tbackground: #CAE8EA;\" >");
QString RowStart(const char* background) {
    return QStringLiteral("<tr><th scope=\"row\" style=\"color: #000000; border-right: 1px solid "
                          "#C1DAD7;\tborder-bottom: 1px solid #C1DAD7; border-left: 1px solid "
                          "#C1DAD7;\tborder-top: 0; text-align: left;\tpadding: 6px 6px 6px "
                          "12px;\tbackground: %1; font-weight: normal;\">")
        .arg(QLatin1String(background));
}
QString CellStart(const char* background) {
    return QStringLiteral("<td style=\"border-right: 1px solid #C1DAD7;\tborder-bottom: 1px solid "
                          "#C1DAD7;\tpadding: 6px 6px 6px 12px; background: %1;\">")
        .arg(QLatin1String(background));
}
const QString kSubRow = QStringLiteral(
    "<tr><th scope=\"row\" style=\"color: #797268; border-right: 1px solid "
    "#C1DAD7;\tborder-bottom: "
    "1px solid #C1DAD7; border-left: 1px solid #C1DAD7;\tborder-top: 0; text-align: "
    "left;\tpadding: "
    "6px 6px 6px 32px;\tbackground: #ffffff; font-size: 90%; font-weight: normal;\">");
const QString kSubCell = QStringLiteral(
    "<td style=\"border-right: 1px solid #C1DAD7;\tborder-bottom: 1px solid #C1DAD7;\tpadding: 6px "
    "6px 6px 12px; background: #ffffff; color: #797268; font-size: 90%;\">");
} // namespace

QByteArray TasksHtml(const std::vector<const TaskNode*>& selected, const Context& c) {
    QString out = Line(QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>")) +
                  Line(QStringLiteral("<h1>To-Do List</h1>"));
    out += Line(
        QStringLiteral("<table style=\"width: 100%; padding: 0; margin: 0;\" cellspacing=\"0\">"));
    out += Line(QStringLiteral("<tr>") + kHeadCell + QStringLiteral("Task Content</th>"));
    out += Line(kHeadCell + QStringLiteral("Status</th>"));
    out += Line(kHeadCell + QStringLiteral("Due Date</th></tr>"));
    // The text as text: a "<!--" in a task must not hide the rest of the
    // page, here or in the copy mailed to others.
    const auto row = [&](const QString& start, const QString& cell, const TTaskInfo& t) {
        out += Line(start);
        out += Line(Continued(t.content.toHtmlEscaped(), QStringLiteral("<br> ")) +
                    QStringLiteral("</th>"));
        out += Line(cell +
                    (t.checkFlag ? QStringLiteral("completed at ") + DateText(c, t.checkTime)
                                 : QStringLiteral("Incomplete")) +
                    QStringLiteral("</td>"));
        out += Line(cell + (t.dueFlag ? DateText(c, t.dueTime) : QStringLiteral(" - ")) +
                    QStringLiteral("</td>"));
        out += Line(QStringLiteral("</tr>"));
    };
    int tasks = 0, subTasks = 0, written = 0;
    Walk(
        selected, tasks, subTasks,
        [&](const TTaskInfo& t) {
            const bool odd = (written++ % 2) == 0; // the 1st, 3rd ... task
            row(RowStart(odd ? "#F3F3FA" : "#F5FFE8"), CellStart(odd ? "#F3F3FA" : "#F5FFE8"), t);
        },
        [&](const TTaskInfo& t) { row(kSubRow, kSubCell, t); });
    out += Line(QStringLiteral("</table>"));
    out += Line(QStringLiteral("<p>Tasks %1, Sub-Tasks %2 - ").arg(tasks).arg(subTasks) +
                Timestamp(c) + QStringLiteral("</p>"));
    out += Line(QStringLiteral("<p>By Zarvik Tasquel ") + c.version + QStringLiteral("</p>"));
    out += Line(QStringLiteral("<p><a href=\"") + c.pageAddress + QStringLiteral("?tl-f\">") +
                c.pageAddress + QStringLiteral("</a></p>"));
    out += Line(QStringLiteral("</body></html>"));
    return out.toUtf8();
}

} // namespace ListWriters
