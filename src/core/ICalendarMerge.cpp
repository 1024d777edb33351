#include "ICalendar.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <libical/ical.h>

// A task written into another program's object: only the properties whose
// value changed are written anew; every other line stays as that program
// wrote it, byte for byte. libical alone would rewrite them (a
// multi-valued CATEGORIES split in two, escapes dropped).

namespace ICalendar {

namespace {

QByteArray propertyText(icalproperty* p) {
    char* text = icalproperty_as_ical_string_r(p);
    QByteArray out(text);
    icalmemory_free_buffer(text);
    return out;
}

// The VTODO's properties as libical writes them, by name.
QHash<QByteArray, QByteArray> propertiesByName(icalcomponent* c) {
    QHash<QByteArray, QByteArray> out;
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_ANY_PROPERTY))
        out[QByteArray(icalproperty_get_property_name(p)).toUpper()] += propertyText(p);
    return out;
}

QByteArray alarmsText(icalcomponent* c) {
    QByteArray out;
    for (icalcomponent* a = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT); a;
         a = icalcomponent_get_next_component(c, ICAL_VALARM_COMPONENT))
        out += Text(a);
    return out;
}

// One content line: its physical lines as they came, and its name.
struct Line {
    QByteArray raw, name, value;
};

QList<Line> contentLines(const QByteArray& bytes) {
    QList<Line> lines;
    for (qsizetype at = 0; at < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', at);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArray physical = bytes.mid(at, end - at);
        at = end;
        if ((physical.startsWith(' ') || physical.startsWith('\t')) && !lines.isEmpty()) {
            lines.last().raw += physical; // a folded line goes on
            continue;
        }
        Line l{physical, {}, {}};
        qsizetype i = 0;
        while (i < physical.size() && physical[i] != ';' && physical[i] != ':' &&
               physical[i] != '\r' && physical[i] != '\n')
            ++i;
        l.name = physical.left(i).trimmed().toUpper();
        l.value = physical.mid(i + 1).trimmed().toUpper(); // for BEGIN and END only
        lines << l;
    }
    return lines;
}

// A line's value with its folds undone.
QByteArray unfolded(const QByteArray& raw) {
    QByteArray v = raw.mid(raw.indexOf(':') + 1);
    v.replace("\r\n ", "").replace("\n ", "").replace("\r\n\t", "").replace("\n\t", "");
    return v.trimmed();
}

} // namespace

QByteArray MergeFields(const QByteArray& object, const TTaskInfo& t, const QString& parentUid) {
    Component root = Parse(object);
    icalcomponent* vtodo = nullptr;
    for (icalcomponent* v : Vtodos(root.get()))
        if (QString::fromUtf8(icalcomponent_get_uid(v)) == t.tid)
            vtodo = v;
    if (!vtodo)
        throw NotCalendarError(QStringLiteral("no VTODO of this task"));
    const auto before = propertiesByName(vtodo);
    const QByteArray alarmsBefore = alarmsText(vtodo);
    WriteFields(vtodo, t, parentUid);
    const auto after = propertiesByName(vtodo);
    const QByteArray alarmsAfter = alarmsText(vtodo);
    QSet<QByteArray> changed;
    for (auto it = after.constBegin(); it != after.constEnd(); ++it)
        if (before.value(it.key()) != it.value())
            changed.insert(it.key());
    for (auto it = before.constBegin(); it != before.constEnd(); ++it)
        if (!after.contains(it.key()))
            changed.insert(it.key());
    const bool alarmsChanged = alarmsBefore != alarmsAfter;

    // The object's own lines, the changed ones left out, ours added at the
    // end of the task's VTODO.
    const QList<Line> lines = contentLines(object);
    qsizetype first = -1, last = -1; // the task's BEGIN:VTODO and END:VTODO
    for (qsizetype i = 0, begin = -1; i < lines.size() && last < 0; ++i) {
        const Line& l = lines[i];
        if (l.name == "BEGIN" && l.value == "VTODO")
            begin = i;
        else if (l.name == "UID" && begin >= 0 && unfolded(l.raw) == t.tid.toUtf8())
            first = begin;
        else if (l.name == "END" && l.value == "VTODO" && first >= 0)
            last = i;
        else if (l.name == "END" && l.value == "VTODO")
            begin = -1;
    }
    if (first < 0 || last < 0)
        throw NotCalendarError(QStringLiteral("no VTODO of this task"));
    QByteArray out;
    int depth = 0;        // of components inside the task's VTODO
    bool inAlarm = false; // inside one of its VALARMs
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        if (i <= first || i > last) {
            out += l.raw;
            continue;
        }
        if (i == last) {
            for (const QByteArray& name : std::as_const(changed))
                out += after.value(name);
            if (alarmsChanged)
                out += alarmsAfter;
            out += l.raw;
            continue;
        }
        if (l.name == "BEGIN" && depth++ == 0)
            inAlarm = l.value == "VALARM";
        const bool alarmLine = inAlarm;
        if (l.name == "END" && --depth == 0)
            inAlarm = false;
        const bool keep = alarmLine ? !alarmsChanged : depth > 0 || !changed.contains(l.name);
        if (keep)
            out += l.raw;
    }
    return out;
}

} // namespace ICalendar
