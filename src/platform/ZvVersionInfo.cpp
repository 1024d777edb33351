#include "ZvVersionInfo.h"

TZvVersionInfo::TZvVersionInfo() {
    m_values = {QStringLiteral("Zarvik Software"),
                QStringLiteral("Zarvik Tasquel Lite to-do list"),
                QStringLiteral(TASQUEL_VERSION),
                QStringLiteral("tasquel"),
                QStringLiteral("Copyright (C) Zarvik Software"),
                QString(),
                QStringLiteral("tasquel"),
                QStringLiteral("Zarvik Tasquel Lite"),
                QStringLiteral(TASQUEL_VERSION),
                QString()};
}
