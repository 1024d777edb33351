#pragma once

#include "Clock.h"

#include <QString>
#include <stdexcept>

// Shared routines that need no window (the message boxes live in
// pU_Boxes.h).

// A new task or memo identifier: a GUID in braces, upper case.
QString NewGuid();

// Every LF, then every CR, becomes one space.
QString FlattenLineBreaks(const QString& text);

// The text without U+0000: no interchange file can carry it, and a task's
// text is cut there by every backup.
QString StorableText(const QString& text);

// Trailing spaces and control characters removed.
QString TrimRight(const QString& text);
// Leading and trailing spaces and control characters removed.
QString TrimBoth(const QString& text);

// Minutes that, added to local time, give UTC, at the moment of the call.
int LocalOffsetBias();
// "yyyy-mm-ddThh:nn:ss.000" followed by "Z" or the local offset.
QString FormatIsoDateTime(TDateTime dt, bool addOffset = true);
// The same with the offset given, for writing many values at one offset.
QString FormatIsoDateTime(TDateTime dt, bool addOffset, int bias);

class DateTimeParseError : public std::runtime_error {
public:
    explicit DateTimeParseError(const QString& text) : std::runtime_error(text.toStdString()) {}
};
// An XML Schema dateTime, turned into local time with the current offset.
TDateTime ParseIsoDateTime(const QString& text);
TDateTime ParseIsoDateTime(const QString& text, int bias);
// The same from UTF-8 bytes, without a string of its own.
TDateTime ParseIsoDateTimeUtf8(const char* text, int bias);
