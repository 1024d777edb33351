#include "Options.h"

#include "pU_Funcs.h"

#include <cmath>

namespace {
const QString kOption = QStringLiteral("option");
}

void ReadWindowOptions(const IniFile& ini, AppOptions& o) {
    o.hintSize = ini.readInteger(kOption, QStringLiteral("hintSize"), 20);
    o.addOpenEn = ini.readBool(kOption, QStringLiteral("addOpenEn"), false);
}

QString LoadOptions(const IniFile& ini, AppOptions& o) {
    QString complaint;
    o.visitWebEn = ini.readBool(kOption, QStringLiteral("visitWebEn"), true);
    const QString visit = ini.readString(kOption, QStringLiteral("visitWeb"), QString());
    bool parsed = false;
    if (!visit.isEmpty()) {
        try {
            o.visitWebTime = ParseIsoDateTime(visit);
            parsed = true;
        } catch (const DateTimeParseError& e) {
            complaint = QString::fromStdString(e.what());
        }
    }
    o.runMinimizedEn = ini.readBool(kOption, QStringLiteral("runMinimizedEn"), false);
    o.desktopNotifyEn = ini.readBool(kOption, QStringLiteral("desktopNotifyEn"), true);
    // Last: a write that fails leaves every option read.
    if (!parsed) {
        o.visitWebTime = Clock::Now();
        ini.writeString(kOption, QStringLiteral("visitWeb"), FormatIsoDateTime(o.visitWebTime));
    }
    return complaint;
}

int WholeDaysBetween(TDateTime a, TDateTime b) {
    return static_cast<int>(std::trunc(std::fabs(a - b)));
}
