#include "Clock.h"

#include <cmath>

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;
std::function<QDateTime()>& source() {
    static std::function<QDateTime()> s;
    return s;
}

// Whole days and milliseconds of the day; negative values keep the time of
// day as a positive fraction, as the platform's type does.
void split(TDateTime v, qint64* days, qint64* ms) {
    double whole = std::trunc(v);
    qint64 t = std::llround(std::fabs(v - whole) * kMsPerDay);
    if (t >= qint64(kMsPerDay)) {
        t -= qint64(kMsPerDay);
        whole += v < 0 ? -1 : 1;
    }
    *days = static_cast<qint64>(whole);
    *ms = t;
}
} // namespace

TDateTime ToDateTime(const QDate& date, const QTime& time) {
    const qint64 days = kEpoch.daysTo(date);
    const double frac = (time.isValid() ? time.msecsSinceStartOfDay() : 0) / kMsPerDay;
    return days >= 0 ? days + frac : days - frac;
}

TDateTime ToDateTime(const QDateTime& dt) {
    return ToDateTime(dt.date(), dt.time());
}

QDate DatePart(TDateTime v) {
    qint64 days, ms;
    split(v, &days, &ms);
    return kEpoch.addDays(days);
}

QTime TimePart(TDateTime v) {
    qint64 days, ms;
    split(v, &days, &ms);
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
}

QDateTime FromDateTime(TDateTime v) {
    return QDateTime(DatePart(v), TimePart(v));
}

namespace Clock {
QDateTime CurrentDateTime() {
    return source() ? source()() : QDateTime::currentDateTime();
}
TDateTime Now() {
    return ToDateTime(CurrentDateTime());
}
void SetForTesting(std::function<QDateTime()> s) {
    source() = std::move(s);
}
} // namespace Clock
