#include "pU_Funcs.h"

#include <QRegularExpression>
#include <QTimeZone>
#include <QUuid>

QString NewGuid() {
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
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
    const QDate d = DatePart(dt);
    const QTime t = TimePart(dt);
    QString s = QStringLiteral("%1-%2-%3T%4:%5:%6.000")
                    .arg(d.year(), 4, 10, QChar(u'0'))
                    .arg(d.month(), 2, 10, QChar(u'0'))
                    .arg(d.day(), 2, 10, QChar(u'0'))
                    .arg(t.hour(), 2, 10, QChar(u'0'))
                    .arg(t.minute(), 2, 10, QChar(u'0'))
                    .arg(t.second(), 2, 10, QChar(u'0'));
    const int bias = LocalOffsetBias();
    if (bias == 0 || !addOffset)
        return s + u'Z';
    const int a = std::abs(bias);
    return s + QStringLiteral("%1%2:%3")
                   .arg(QChar(bias < 0 ? u'+' : u'-'))
                   .arg(a / 60, 2, 10, QChar(u'0'))
                   .arg(a % 60, 2, 10, QChar(u'0'));
}

TDateTime ParseIsoDateTime(const QString& text) {
    static const QRegularExpression re(QStringLiteral(
        R"(^\s*(-?\d{4,})-(\d{2})-(\d{2})T(\d{2}):(\d{2}):(\d{2})(\.\d+)?(Z|[+-]\d{2}:\d{2})?\s*$)"));
    const auto m = re.match(text);
    const auto fail = [&] {
        return DateTimeParseError(QStringLiteral("'%1' is not a valid date and time.").arg(text));
    };
    if (!m.hasMatch())
        throw fail();
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    int hour = m.captured(4).toInt();
    const int minute = m.captured(5).toInt(), second = m.captured(6).toInt();
    // XML Schema allows 24:00:00 for the end of a day.
    const bool endOfDay = hour == 24 && minute == 0 && second == 0;
    if (endOfDay)
        hour = 0;
    int ms = 0;
    if (m.hasCaptured(7))
        ms = static_cast<int>(std::lround(m.captured(7).toDouble() * 1000));
    const QTime time(hour, minute, second, qMin(ms, 999));
    if (!date.isValid() || !time.isValid())
        throw fail();
    QDateTime wall(endOfDay ? date.addDays(1) : date, time, Qt::UTC);
    const QString zone = m.captured(8);
    if (zone.isEmpty())
        return ToDateTime(wall); // no zone: already local
    int offsetMinutes = 0;
    if (zone != u"Z") {
        offsetMinutes = zone.mid(1, 2).toInt() * 60 + zone.mid(4, 2).toInt();
        if (zone.front() == u'-')
            offsetMinutes = -offsetMinutes;
    }
    const QDateTime utc = wall.addSecs(-qint64(offsetMinutes) * 60);
    return ToDateTime(utc.addSecs(-qint64(LocalOffsetBias()) * 60));
}
