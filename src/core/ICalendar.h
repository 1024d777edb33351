#pragma once

#include "TaskInfo.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <memory>
#include <stdexcept>
#include <vector>

typedef struct icalcomponent_impl icalcomponent; // libical's

// Tasks as iCalendar (RFC 5545) VTODO components, read and written by
// libical. One VTODO a task, its UID the task's id.
namespace ICalendar {

inline QString FileFilter() {
    return QCoreApplication::translate("Calendar", "iCalendar file (*.ics)");
}

// Bytes that libical does not read as a calendar; the text says why.
class NotCalendarError : public std::runtime_error {
public:
    explicit NotCalendarError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

struct ComponentFree {
    void operator()(icalcomponent* c) const;
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// A task as a VTODO gives it.
struct CalendarTask {
    TTaskInfo info;             // tid is the UID (empty when it has none); pid is not set
    QString parentUid;          // empty: a top-level task
    TDateTime lastModified = 0; // 0: the object does not say
};

// Sets the fields the tasks map to on a VTODO and leaves every other
// property as it is, so an object another program wrote keeps its data.
// A due date or reminder that already gives the task's moment is kept in
// its own form.
void WriteFields(icalcomponent* vtodo, const TTaskInfo& t, const QString& parentUid);
Component NewVtodo(const TTaskInfo& t, const QString& parentUid);
// The object with the task's VTODO given its fields: only the properties
// whose value changes are written anew, every other line stays byte for
// byte. Throws NotCalendarError when the object has no VTODO of the task.
QByteArray MergeFields(const QByteArray& object, const TTaskInfo& t, const QString& parentUid);
// Never fails on what another program wrote: an unknown or broken property
// is left out. now stands in for the times the object does not give.
CalendarTask ReadFields(icalcomponent* vtodo, TDateTime now);

// libical's parse of the bytes: a VCALENDAR, a lone VTODO or several of
// them in an XROOT. Throws NotCalendarError.
Component Parse(const QByteArray& bytes);
// Every VTODO of a parsed file, in file order (owned by the parse).
std::vector<icalcomponent*> Vtodos(icalcomponent* root);

struct Entry {
    const TTaskInfo* task;
    QString parentUid;
};
// An empty VCALENDAR of ours, and a component as iCalendar text.
Component NewCalendar(const QString& version);
QByteArray Text(icalcomponent* c);
// One VCALENDAR with a VTODO a task, in the order given.
QByteArray WriteCalendar(const std::vector<Entry>& tasks, const QString& version);
// The tasks of a file. Throws NotCalendarError.
std::vector<CalendarTask> ReadCalendar(const QByteArray& bytes, TDateTime now);

} // namespace ICalendar
