// Makes the database of a program folder for the screen-reader walk: a task
// with a reminder and a due date, a complete one and a sub-task.
#include "TestSupport.h"
#include "platform/Clock.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]) + u'/';
    Database::createEmpty(folder + QLatin1String(Database::FileName));
    TTaskInfo due = test::Task("{A}", "root", "Plan the trip", false, true);
    due.alarmFlag = due.dueFlag = true;
    due.alarmTime = ToDateTime(QDateTime(QDate(2031, 5, 4), QTime(9, 30)));
    due.dueTime = ToDateTime(QDateTime(QDate(2031, 5, 6), QTime(0, 0)));
    test::Fill(folder, {due, test::Task("{A1}", "{A}", "Book the train"),
                        test::Task("{B}", "root", "Return the books", true)});
    return 0;
}
