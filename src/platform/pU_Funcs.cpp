#include "pU_Funcs.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTimeZone>
#include <QUuid>

QString NewGuid() {
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}

QString StorableText(const QString& text) {
    if (!text.contains(QChar(u'\0')))
        return text;
    QString s = text;
    s.remove(QChar(u'\0'));
    return s;
}

QString FlattenLineBreaks(const QString& text) {
    QString s = text;
    s.replace(u'\n', u' ');
    s.replace(u'\r', u' ');
    return s;
}

namespace {
bool isBlank(QChar c) {
    return c.unicode() <= 32;
}
} // namespace

QString TrimRight(const QString& text) {
    qsizetype n = text.size();
    while (n > 0 && isBlank(text.at(n - 1)))
        --n;
    return text.left(n);
}

QString TrimBoth(const QString& text) {
    qsizetype b = 0;
    while (b < text.size() && isBlank(text.at(b)))
        ++b;
    return TrimRight(text.mid(b));
}

int LocalOffsetBias() {
    return -Clock::CurrentDateTime().offsetFromUtc() / 60;
}

QString FormatIsoDateTime(TDateTime dt, bool addOffset) {
    return FormatIsoDateTime(dt, addOffset, LocalOffsetBias());
}

namespace {
char* digits(char* p, int value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        p[i] = char('0' + value % 10);
        value /= 10;
    }
    return p + width;
}
} // namespace

QString FormatIsoDateTime(TDateTime dt, bool addOffset, int bias) {
    const QDate d = DatePart(dt);
    const QTime t = TimePart(dt);
    char buf[40];
    char* p = buf;
    if (d.year() < 0 || d.year() > 9999)
        return QStringLiteral("%1").arg(d.year()) + QStringLiteral("-01-01T00:00:00.000Z");
    p = digits(p, d.year(), 4);
    *p++ = '-';
    p = digits(p, d.month(), 2);
    *p++ = '-';
    p = digits(p, d.day(), 2);
    *p++ = 'T';
    p = digits(p, t.hour(), 2);
    *p++ = ':';
    p = digits(p, t.minute(), 2);
    *p++ = ':';
    p = digits(p, t.second(), 2);
    for (const char c : {'.', '0', '0', '0'})
        *p++ = c;
    if (bias == 0 || !addOffset) {
        *p++ = 'Z';
    } else {
        const int a = std::abs(bias);
        *p++ = bias < 0 ? '+' : '-';
        p = digits(p, a / 60, 2);
        *p++ = ':';
        p = digits(p, a % 60, 2);
    }
    return QString::fromLatin1(buf, p - buf);
}

TDateTime ParseIsoDateTime(const QString& text) {
    return ParseIsoDateTime(text, LocalOffsetBias());
}

namespace {
// Reads exactly n digits at i.
template <typename View> bool number(View s, qsizetype& i, int n, int* out) {
    int v = 0;
    for (int k = 0; k < n; ++k, ++i) {
        if (i >= s.size() || s[i].unicode() < '0' || s[i].unicode() > '9')
            return false;
        v = v * 10 + (s[i].unicode() - '0');
    }
    *out = v;
    return true;
}
template <typename View> bool expect(View s, qsizetype& i, char16_t c) {
    if (i >= s.size() || s[i].unicode() != c)
        return false;
    ++i;
    return true;
}

struct NotADateTime {};

// The parser over UTF-16 text or over bytes: the readers of a file hand it
// the document's own bytes, without making a string of each value.
template <typename View> TDateTime parseIso(View s, int bias) {
    const auto fail = [] { return NotADateTime{}; };
    qsizetype i = 0;
    int year, month, day, hour, minute, second;
    // XML Schema: yyyy-mm-ddThh:mm:ss, optional fraction, optional zone.
    if (!number(s, i, 4, &year) || !expect(s, i, u'-') || !number(s, i, 2, &month) ||
        !expect(s, i, u'-') || !number(s, i, 2, &day) || !expect(s, i, u'T') ||
        !number(s, i, 2, &hour) || !expect(s, i, u':') || !number(s, i, 2, &minute) ||
        !expect(s, i, u':') || !number(s, i, 2, &second))
        throw fail();
    int ms = 0;
    if (i < s.size() && s[i].unicode() == u'.') {
        ++i;
        int scale = 100, count = 0;
        while (i < s.size() && s[i].unicode() >= '0' && s[i].unicode() <= '9') {
            ms += (s[i].unicode() - '0') * scale;
            scale /= 10;
            ++i;
            ++count;
        }
        if (count == 0)
            throw fail();
    }
    int offsetMinutes = 0;
    bool zoned = false;
    if (i < s.size() && s[i].unicode() == u'Z') {
        ++i;
        zoned = true;
    } else if (i < s.size() && (s[i].unicode() == u'+' || s[i].unicode() == u'-')) {
        const bool minus = s[i].unicode() == u'-';
        ++i;
        int oh, om;
        if (!number(s, i, 2, &oh) || !expect(s, i, u':') || !number(s, i, 2, &om) || oh > 14 ||
            om > 59)
            throw fail();
        offsetMinutes = (oh * 60 + om) * (minus ? -1 : 1);
        zoned = true;
    }
    if (i != s.size())
        throw fail();
    // 24:00:00 is the end of the day.
    const bool endOfDay = hour == 24 && minute == 0 && second == 0 && ms == 0;
    const QDate date(year, month, day);
    const QTime time(endOfDay ? 0 : hour, minute, second, ms);
    if (!date.isValid() || !time.isValid())
        throw fail();
    const QDate day0 = endOfDay ? date.addDays(1) : date;
    const int shift = zoned ? -offsetMinutes - bias : 0; // to UTC, then to local time
    if (shift == 0)
        return ToDateTime(day0, time);
    const QDateTime moved = QDateTime(day0, time, Qt::UTC).addSecs(qint64(shift) * 60);
    return ToDateTime(moved.date(), moved.time());
}

DateTimeParseError parseError(const QString& text) {
    return DateTimeParseError(
        QCoreApplication::translate("Settings", "'%1' is not a valid date and time.").arg(text));
}
} // namespace

TDateTime ParseIsoDateTime(const QString& text, int bias) {
    try {
        return parseIso(QStringView(text).trimmed(), bias);
    } catch (const NotADateTime&) {
        throw parseError(text);
    }
}

TDateTime ParseIsoDateTimeUtf8(const char* text, int bias) {
    try {
        return parseIso(QLatin1StringView(text).trimmed(), bias);
    } catch (const NotADateTime&) {
        // Blanks beyond ASCII around it: the text's own rules decide.
        return ParseIsoDateTime(QString::fromUtf8(text), bias);
    }
}
