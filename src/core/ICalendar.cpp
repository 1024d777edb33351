#include "ICalendar.h"

#include "TaskRules.h"

#include <QCoreApplication>
#include <QTimeZone>
#include <libical/ical.h>
#include <optional>

namespace ICalendar {

void ComponentFree::operator()(icalcomponent* c) const {
    icalcomponent_free(c);
}

namespace {

const char* const kTextColor = "X-ZARVIK-TEXT-COLOR";
const char* const kBackgroundColor = "X-ZARVIK-BACKGROUND-COLOR";
const char* const kExpanded = "X-ZARVIK-EXPANDED";
// The whole text, base64, only where SUMMARY and DESCRIPTION cannot give it
// back byte for byte (a lone CR, which libical drops; an empty last line,
// which it reads as no DESCRIPTION at all).
const char* const kContent = "X-ZARVIK-CONTENT";

QByteArray utf8(const QString& s) {
    return s.toUtf8();
}
QString fromUtf8(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

// The local zone as a zone of its own: the C library's local time looks at
// /etc/localtime again on every conversion when TZ is not set, a file
// system call for each time of each task. Found again when TZ changes.
const QTimeZone& localZone() {
    thread_local QByteArray tz = "\x01";
    thread_local QTimeZone zone;
    if (const QByteArray now = qgetenv("TZ"); now != tz) {
        tz = now;
        zone = QTimeZone::systemTimeZone();
    }
    return zone;
}

// A stored moment in UTC, to the nearest second; none for "not set" or a
// year iCalendar cannot write.
std::optional<icaltimetype> toIcal(TDateTime v) {
    if (v == 0)
        return std::nullopt;
    const QDateTime local(DatePart(v), TimePart(v), localZone());
    if (!local.isValid())
        return std::nullopt;
    const qint64 ms = local.toMSecsSinceEpoch() + 500;
    const qint64 secs = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    const QDateTime utc = QDateTime::fromSecsSinceEpoch(secs, Qt::UTC);
    const QDate d = utc.date();
    const QTime t = utc.time();
    if (d.year() < 1 || d.year() > 9999)
        return std::nullopt;
    icaltimetype it = icaltime_null_time();
    it.year = d.year(), it.month = d.month(), it.day = d.day();
    it.hour = t.hour(), it.minute = t.minute(), it.second = t.second();
    it.zone = icaltimezone_get_utc_timezone();
    return it;
}

// A value of the file as a local moment: UTC and zoned times converted, a
// floating time taken as local, a date at its start in local time.
std::optional<QDateTime> toLocal(icaltimetype t) {
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
        return std::nullopt;
    if (!t.is_date && t.zone)
        t = icaltime_convert_to_zone(t, icaltimezone_get_utc_timezone());
    const QDate d(t.year, t.month, t.day);
    const QTime time = t.is_date ? QTime(0, 0) : QTime(t.hour, t.minute, qMin(t.second, 59));
    if (!d.isValid() || !time.isValid())
        return std::nullopt;
    if (!t.is_date && t.zone)
        return QDateTime(d, time, Qt::UTC).toTimeZone(localZone());
    return QDateTime(d, time, localZone());
}

TDateTime stored(std::optional<QDateTime> dt) {
    return dt ? ToDateTime(*dt) : 0;
}

std::optional<QDateTime> timeOf(icalcomponent* c, icalproperty_kind kind) {
    icalproperty* p = icalcomponent_get_first_property(c, kind);
    if (!p)
        return std::nullopt;
    return toLocal(icalproperty_get_datetime_with_component(p, c));
}

void removeAll(icalcomponent* c, icalproperty_kind kind, bool (*which)(icalproperty*) = nullptr) {
    std::vector<icalproperty*> gone;
    for (icalproperty* p = icalcomponent_get_first_property(c, kind); p;
         p = icalcomponent_get_next_property(c, kind))
        if (!which || which(p))
            gone.push_back(p);
    for (icalproperty* p : gone) {
        icalcomponent_remove_property(c, p);
        icalproperty_free(p);
    }
}

icalproperty* findX(icalcomponent* c, const char* name) {
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY))
        if (const char* n = icalproperty_get_x_name(p); n && qstricmp(n, name) == 0)
            return p;
    return nullptr;
}

void setX(icalcomponent* c, const char* name, const QByteArray& value) {
    while (icalproperty* old = findX(c, name)) {
        icalcomponent_remove_property(c, old);
        icalproperty_free(old);
    }
    if (value.isEmpty())
        return;
    icalproperty* p = icalproperty_new_x(value.constData());
    icalproperty_set_x_name(p, name);
    icalcomponent_add_property(c, p);
}

void setTime(icalcomponent* c, icalproperty_kind kind, TDateTime v,
             icalproperty* (*make)(icaltimetype)) {
    removeAll(c, kind);
    if (const auto t = toIcal(v))
        icalcomponent_add_property(c, make(*t));
}

// A due date without a time means the whole day (see IsWholeDay), and goes
// out as a date again.
std::optional<QDateTime> dueOf(icalcomponent* vtodo) {
    icalproperty* p = icalcomponent_get_first_property(vtodo, ICAL_DUE_PROPERTY);
    if (!p)
        return std::nullopt;
    const icaltimetype t = icalproperty_get_datetime_with_component(p, vtodo);
    if (!t.is_date)
        return toLocal(t);
    const auto start = toLocal(t);
    return start ? std::optional(QDateTime(start->date(), WholeDayTime(), localZone()))
                 : std::nullopt;
}
void setDue(icalcomponent* vtodo, TDateTime v) {
    if (!IsWholeDay(v)) {
        setTime(vtodo, ICAL_DUE_PROPERTY, v, icalproperty_new_due);
        return;
    }
    removeAll(vtodo, ICAL_DUE_PROPERTY);
    const QDate d = DatePart(v);
    icaltimetype date = icaltime_null_date();
    date.year = d.year(), date.month = d.month(), date.day = d.day();
    icalcomponent_add_property(vtodo, icalproperty_new_due(date));
}

// Completed, or cancelled: nothing left to do either way. Without a
// status, a percentage of 100 or a completion time says it.
bool isDone(icalcomponent* vtodo) {
    if (icalcomponent_get_first_property(vtodo, ICAL_STATUS_PROPERTY)) {
        const icalproperty_status s = icalcomponent_get_status(vtodo);
        return s == ICAL_STATUS_COMPLETED || s == ICAL_STATUS_CANCELLED;
    }
    icalproperty* pc = icalcomponent_get_first_property(vtodo, ICAL_PERCENTCOMPLETE_PROPERTY);
    return (pc && icalproperty_get_percentcomplete(pc) >= 100) ||
           icalcomponent_get_first_property(vtodo, ICAL_COMPLETED_PROPERTY);
}

bool isParentLink(icalproperty* p) {
    icalparameter* r = icalproperty_get_first_parameter(p, ICAL_RELTYPE_PARAMETER);
    return !r || icalparameter_get_reltype(r) == ICAL_RELTYPE_PARENT;
}

// The text as SUMMARY (the first line) and DESCRIPTION (the rest, with LF
// line breaks as iCalendar has them).
struct TextParts {
    QString summary, description;
    bool hasDescription = false;
};
TextParts split(const QString& content) {
    TextParts parts;
    const qsizetype br = content.indexOf(QLatin1String("\r\n"));
    if (br < 0) {
        parts.summary = content;
        return parts;
    }
    parts.summary = content.left(br);
    parts.description = content.mid(br + 2);
    parts.description.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    parts.hasDescription = true;
    return parts;
}
QString join(const QString& summary, const char* description) {
    if (!description)
        return summary;
    QString rest = QString::fromUtf8(description);
    rest.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    rest.replace(u'\n', QLatin1String("\r\n"));
    return summary + QLatin1String("\r\n") + rest;
}
bool carriedAsParts(const QString& content, const TextParts& parts) {
    if (parts.hasDescription && parts.description.isEmpty())
        return false;
    if (parts.summary.contains(u'\r') || parts.summary.contains(u'\n') ||
        parts.description.contains(u'\r') || content.contains(QChar(0)))
        return false;
    return true;
}

// The earliest alarm's moment: an absolute trigger, or one relative to the
// start or (RELATED=END) the due date.
std::optional<QDateTime> reminderOf(icalcomponent* vtodo) {
    std::optional<QDateTime> earliest;
    for (icalcomponent* a = icalcomponent_get_first_component(vtodo, ICAL_VALARM_COMPONENT); a;
         a = icalcomponent_get_next_component(vtodo, ICAL_VALARM_COMPONENT)) {
        icalproperty* p = icalcomponent_get_first_property(a, ICAL_TRIGGER_PROPERTY);
        if (!p)
            continue;
        const icaltriggertype trigger = icalproperty_get_trigger(p);
        std::optional<QDateTime> at;
        if (!icaltime_is_null_time(trigger.time)) {
            at = toLocal(trigger.time);
        } else {
            icalparameter* rel = icalproperty_get_first_parameter(p, ICAL_RELATED_PARAMETER);
            const bool fromEnd = rel && icalparameter_get_related(rel) == ICAL_RELATED_END;
            const auto base = timeOf(vtodo, fromEnd ? ICAL_DUE_PROPERTY : ICAL_DTSTART_PROPERTY);
            if (base)
                at = base->addSecs(icaldurationtype_as_int(trigger.duration));
        }
        if (at && (!earliest || *at < *earliest))
            earliest = at;
    }
    return earliest;
}

qint32 colorOf(icalcomponent* c, const char* name) {
    icalproperty* p = findX(c, name);
    bool ok = false;
    const qint32 v = p ? QByteArray(icalproperty_get_x(p)).trimmed().toInt(&ok) : 0;
    return ok ? v : 0;
}

} // namespace

void WriteFields(icalcomponent* vtodo, const TTaskInfo& t, const QString& parentUid) {
    icalcomponent_set_uid(vtodo, utf8(t.tid).constData());
    const TextParts parts = split(t.content);
    removeAll(vtodo, ICAL_SUMMARY_PROPERTY);
    removeAll(vtodo, ICAL_DESCRIPTION_PROPERTY);
    icalcomponent_add_property(vtodo, icalproperty_new_summary(utf8(parts.summary).constData()));
    if (parts.hasDescription)
        icalcomponent_add_property(
            vtodo, icalproperty_new_description(utf8(parts.description).constData()));
    setX(vtodo, kContent,
         carriedAsParts(t.content, parts) ? QByteArray() : t.content.toUtf8().toBase64());

    removeAll(vtodo, ICAL_RELATEDTO_PROPERTY, isParentLink);
    if (!parentUid.isEmpty()) {
        icalproperty* p = icalproperty_new_relatedto(utf8(parentUid).constData());
        icalproperty_add_parameter(p, icalparameter_new_reltype(ICAL_RELTYPE_PARENT));
        icalcomponent_add_property(vtodo, p);
    }

    // The status is written only when the task was ticked or unticked
    // here: another program's "in process" or "cancelled" stays.
    if (!icalcomponent_get_first_property(vtodo, ICAL_STATUS_PROPERTY) ||
        isDone(vtodo) != t.checkFlag) {
        removeAll(vtodo, ICAL_STATUS_PROPERTY);
        icalcomponent_add_property(
            vtodo,
            icalproperty_new_status(t.checkFlag ? ICAL_STATUS_COMPLETED : ICAL_STATUS_NEEDSACTION));
        setTime(vtodo, ICAL_COMPLETED_PROPERTY, t.checkFlag ? t.checkTime : 0,
                icalproperty_new_completed);
        if (t.checkFlag) {
            removeAll(vtodo, ICAL_PERCENTCOMPLETE_PROPERTY);
            icalcomponent_add_property(vtodo, icalproperty_new_percentcomplete(100));
        } else {
            removeAll(vtodo, ICAL_PERCENTCOMPLETE_PROPERTY,
                      [](icalproperty* p) { return icalproperty_get_percentcomplete(p) >= 100; });
        }
    }

    const auto same = [](std::optional<QDateTime> have, TDateTime want) {
        const auto a = have ? toIcal(ToDateTime(*have)) : std::nullopt;
        const auto b = toIcal(want);
        return a.has_value() == b.has_value() && (!a || icaltime_compare(*a, *b) == 0);
    };
    const TDateTime due = t.dueFlag ? t.dueTime : 0;
    if (!same(dueOf(vtodo), due)) {
        removeAll(vtodo, ICAL_DURATION_PROPERTY); // DUE and DURATION exclude each other
        setDue(vtodo, due);
    }
    const TDateTime alarm = t.alarmFlag ? t.alarmTime : 0;
    if (!same(reminderOf(vtodo), alarm)) {
        std::vector<icalcomponent*> alarms;
        for (icalcomponent* a = icalcomponent_get_first_component(vtodo, ICAL_VALARM_COMPONENT); a;
             a = icalcomponent_get_next_component(vtodo, ICAL_VALARM_COMPONENT))
            alarms.push_back(a);
        for (icalcomponent* a : alarms) {
            icalcomponent_remove_component(vtodo, a);
            icalcomponent_free(a);
        }
        if (const auto at = toIcal(alarm)) {
            icalcomponent* a = icalcomponent_new_valarm();
            icalcomponent_add_property(a, icalproperty_new_action(ICAL_ACTION_DISPLAY));
            icaltriggertype trigger = icaltriggertype_from_int(0);
            trigger.time = *at;
            icalcomponent_add_property(a, icalproperty_new_trigger(trigger));
            const QByteArray what =
                parts.summary.isEmpty() ? QByteArray("Reminder") : utf8(parts.summary);
            icalcomponent_add_property(a, icalproperty_new_description(what.constData()));
            icalcomponent_add_component(vtodo, a);
        }
    }

    setTime(vtodo, ICAL_CREATED_PROPERTY, t.createTime, icalproperty_new_created);
    setTime(vtodo, ICAL_LASTMODIFIED_PROPERTY, t.editTime, icalproperty_new_lastmodified);
    setTime(vtodo, ICAL_DTSTAMP_PROPERTY, t.editTime ? t.editTime : t.createTime,
            icalproperty_new_dtstamp);

    setX(vtodo, kTextColor, t.textColor ? QByteArray::number(t.textColor) : QByteArray());
    setX(vtodo, kBackgroundColor,
         t.backgroundColor ? QByteArray::number(t.backgroundColor) : QByteArray());
    setX(vtodo, kExpanded, parentUid.isEmpty() && t.expandFlag ? "1" : QByteArray());
}

Component NewVtodo(const TTaskInfo& t, const QString& parentUid) {
    Component c(icalcomponent_new_vtodo());
    WriteFields(c.get(), t, parentUid);
    return c;
}

CalendarTask ReadFields(icalcomponent* vtodo, TDateTime now) {
    CalendarTask out;
    TTaskInfo& t = out.info;
    t.tid = fromUtf8(icalcomponent_get_uid(vtodo));
    icalproperty* d = icalcomponent_get_first_property(vtodo, ICAL_DESCRIPTION_PROPERTY);
    t.content = join(fromUtf8(icalcomponent_get_summary(vtodo)),
                     d ? icalproperty_get_description(d) : nullptr);
    if (icalproperty* x = findX(vtodo, kContent)) {
        const QString whole =
            QString::fromUtf8(QByteArray::fromBase64(QByteArray(icalproperty_get_x(x))));
        // Only while SUMMARY and DESCRIPTION still say the same: another
        // program that changed them did not know of this copy.
        TextParts parts = split(whole);
        const QString summary = fromUtf8(icalcomponent_get_summary(vtodo));
        const QString rest = d ? fromUtf8(icalproperty_get_description(d)) : QString();
        if (parts.summary.remove(u'\r') == summary &&
            parts.description.remove(u'\r') == QString(rest).remove(u'\r'))
            t.content = whole;
    }
    for (icalproperty* p = icalcomponent_get_first_property(vtodo, ICAL_RELATEDTO_PROPERTY); p;
         p = icalcomponent_get_next_property(vtodo, ICAL_RELATEDTO_PROPERTY))
        if (isParentLink(p)) {
            out.parentUid = fromUtf8(icalproperty_get_relatedto(p));
            break;
        }

    const auto created = timeOf(vtodo, ICAL_CREATED_PROPERTY);
    const auto modified = timeOf(vtodo, ICAL_LASTMODIFIED_PROPERTY);
    const auto stamp = timeOf(vtodo, ICAL_DTSTAMP_PROPERTY);
    out.lastModified = stored(modified);
    t.createTime = created ? stored(created) : stamp ? stored(stamp) : now;
    t.editTime = modified ? stored(modified) : stamp ? stored(stamp) : t.createTime;

    const auto completed = timeOf(vtodo, ICAL_COMPLETED_PROPERTY);
    t.checkFlag = isDone(vtodo);
    if (t.checkFlag)
        t.checkTime = completed ? stored(completed) : modified ? stored(modified) : now;

    if (const auto due = dueOf(vtodo)) {
        t.dueFlag = true;
        t.dueTime = stored(due);
    }
    if (const auto alarm = reminderOf(vtodo)) {
        t.alarmFlag = true;
        t.alarmTime = stored(alarm);
    }
    t.textColor = colorOf(vtodo, kTextColor);
    t.backgroundColor = colorOf(vtodo, kBackgroundColor);
    icalproperty* e = findX(vtodo, kExpanded);
    t.expandFlag = e && qstrcmp(icalproperty_get_x(e), "1") == 0;
    return out;
}

Component NewCalendar(const QString& version) {
    Component cal(icalcomponent_new_vcalendar());
    icalcomponent_add_property(cal.get(), icalproperty_new_version("2.0"));
    const QByteArray prodId = "-//Zarvik//Tasquel Lite " + version.toUtf8() + "//EN";
    icalcomponent_add_property(cal.get(), icalproperty_new_prodid(prodId.constData()));
    return cal;
}

QByteArray Text(icalcomponent* c) {
    char* text = icalcomponent_as_ical_string_r(c);
    QByteArray out(text);
    icalmemory_free_buffer(text);
    return out;
}

QByteArray WriteCalendar(const std::vector<Entry>& tasks, const QString& version) {
    Component cal = NewCalendar(version);
    for (const Entry& e : tasks)
        icalcomponent_add_component(cal.get(), NewVtodo(*e.task, e.parentUid).release());
    return Text(cal.get());
}

} // namespace ICalendar
