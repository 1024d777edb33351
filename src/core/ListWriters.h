#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <vector>

class TaskNode;

// The plain-text and HTML task lists: the selected rows (tree order) and,
// after each top-level one, all its sub-tasks. Both return the file's bytes:
// UTF-8 without a byte-order mark, every line ended by CR LF.
namespace ListWriters {

struct Context {
    QString version;     // the program's file version
    QString pageAddress; // the product page
    QDateTime now;       // for the timestamp of the foot
    QLocale locale;      // the user's date and time formats
};

QByteArray TasksText(const std::vector<const TaskNode*>& selected, const Context& c);
QByteArray TasksHtml(const std::vector<const TaskNode*>& selected, const Context& c);

} // namespace ListWriters
