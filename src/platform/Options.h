#pragma once

#include "Clock.h"
#include "IniFile.h"

#include <QString>

// The option values the main window keeps after start-up, named after
// their keys in section "option".
struct AppOptions {
    int hintSize = 20;
    bool addOpenEn = false;
    bool runMinimizedEn = false;
    bool visitWebEn = true;
    // Reminders go to the desktop's notifications where a server can show them.
    bool desktopNotifyEn = true;
    TDateTime visitWebTime = 0;
};

// The keys read when the main window is created, before the database opens.
void ReadWindowOptions(const IniFile& ini, AppOptions& o);

// visitWebEn, visitWeb and runMinimizedEn. A missing, empty or unreadable
// visitWeb becomes the current time and is written back at once; the
// parser's complaint about an unreadable one is returned (empty otherwise).
QString LoadOptions(const IniFile& ini, AppOptions& o);

// Whole days between two times, either direction, fractions dropped.
int WholeDaysBetween(TDateTime a, TDateTime b);
