#include "ICalendar.h"

#include <QCoreApplication>
#include <cstring>
#include <libical/ical.h>

// Reading a file: libical fed line by line, its depth checked first, and
// the VTODOs found in it.

namespace ICalendar {

namespace {

// libical reads from a line source; its own reader of one string is
// quadratic in the length of a line.
struct Lines {
    const char* at;
    const char* end;
};
char* nextLine(char* out, size_t size, void* data) {
    auto* lines = static_cast<Lines*>(data);
    if (lines->at >= lines->end || size < 2)
        return nullptr;
    size_t n = 0;
    while (lines->at < lines->end && n + 1 < size) {
        const char c = *lines->at++;
        out[n++] = c == 0 ? ' ' : c; // a NUL would end the line early
        if (c == '\n')
            break;
    }
    out[n] = 0;
    return out;
}

// libical nests components as deep as the file does and frees them by
// recursion: a file of endless BEGIN lines would exhaust the stack. Only the
// first letters of each unfolded line are looked at.
constexpr int kMaxDepth = 64;
void checkDepth(const QByteArray& bytes) {
    int depth = 0;
    QByteArray head; // the current line's start, across folds
    bool counted = false;
    const auto count = [&] {
        if (counted || head.size() < 4)
            return;
        if (head.size() >= 6 && qstrnicmp(head.constData(), "BEGIN:", 6) == 0) {
            counted = true;
            if (++depth > kMaxDepth)
                throw NotCalendarError(
                    QCoreApplication::translate(
                        "Calendar", "Not an iCalendar file: its components nest more than %1 deep.")
                        .arg(kMaxDepth));
        } else if (qstrnicmp(head.constData(), "END:", 4) == 0) {
            counted = true;
            depth = qMax(0, depth - 1);
        }
    };
    bool lineStart = true;
    for (const char c : bytes) {
        if (c == '\n') {
            lineStart = true;
            continue;
        }
        if (lineStart) {
            lineStart = false;
            if (c == ' ' || c == '\t')
                continue; // a fold: the same line goes on
            head.clear();
            counted = false;
        }
        if (c != '\r' && head.size() < 6) {
            head += c;
            count();
        }
    }
}

} // namespace

Component Parse(const QByteArray& bytes) {
    checkDepth(bytes);
    icalerror_clear_errno();
    Lines lines{bytes.constData(), bytes.constData() + bytes.size()};
    icalparser* parser = icalparser_new();
    icalparser_set_gen_data(parser, &lines);
    Component root(icalparser_parse(parser, nextLine));
    icalparser_free(parser);
    const QString head = QCoreApplication::translate("Calendar", "Not an iCalendar file: ");
    if (!root) {
        const QString why = icalerrno != ICAL_NO_ERROR
                                ? QString::fromUtf8(icalerror_strerror(icalerrno))
                                : QCoreApplication::translate(
                                      "Calendar", "libical found no calendar component in it.");
        throw NotCalendarError(head + why);
    }
    const icalcomponent_kind kind = icalcomponent_isa(root.get());
    if (kind != ICAL_VCALENDAR_COMPONENT && kind != ICAL_VTODO_COMPONENT &&
        kind != ICAL_XROOT_COMPONENT)
        throw NotCalendarError(
            head +
            QCoreApplication::translate("Calendar", "libical read a %1 component, not a calendar.")
                .arg(QLatin1String(icalcomponent_kind_to_string(kind))));
    return root;
}

std::vector<icalcomponent*> Vtodos(icalcomponent* root) {
    std::vector<icalcomponent*> out;
    const auto take = [&out](icalcomponent* c) {
        if (icalcomponent_isa(c) == ICAL_VTODO_COMPONENT) {
            out.push_back(c);
            return;
        }
        for (icalcomponent* t = icalcomponent_get_first_component(c, ICAL_VTODO_COMPONENT); t;
             t = icalcomponent_get_next_component(c, ICAL_VTODO_COMPONENT))
            out.push_back(t);
    };
    if (icalcomponent_isa(root) != ICAL_XROOT_COMPONENT) {
        take(root);
        return out;
    }
    for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(root, ICAL_ANY_COMPONENT))
        if (icalcomponent_isa(c) == ICAL_VCALENDAR_COMPONENT ||
            icalcomponent_isa(c) == ICAL_VTODO_COMPONENT)
            take(c);
    return out;
}

std::vector<CalendarTask> ReadCalendar(const QByteArray& bytes, TDateTime now) {
    const Component root = Parse(bytes);
    std::vector<CalendarTask> out;
    for (icalcomponent* c : Vtodos(root.get()))
        out.push_back(ReadFields(c, now));
    return out;
}

} // namespace ICalendar
