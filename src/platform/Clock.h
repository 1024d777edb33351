#pragma once

#include <QDateTime>
#include <functional>

// The platform's date-time value: days since 30 December 1899, local wall
// clock, the time of day as the fraction. 0 means "not set".
using TDateTime = double;

TDateTime ToDateTime(const QDate& date, const QTime& time);
TDateTime ToDateTime(const QDateTime& dt);
QDate DatePart(TDateTime v);
QTime TimePart(TDateTime v); // to the millisecond
QDateTime FromDateTime(TDateTime v);

// The one source of "now", so tests can set the time instead of waiting.
namespace Clock {
TDateTime Now();
QDateTime CurrentDateTime();
void SetForTesting(std::function<QDateTime()> source); // empty: the real clock
} // namespace Clock
