#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QPalette>
#include <QString>
#include <vector>

// Stored colour values: 0 is the default look, 0x00BBGGRR an RGB colour,
// and a value whose top byte is all ones one of the system colours, by its
// index in the low byte.
namespace ColorValues {

constexpr qint32 SystemFlag = qint32(0xFF000000);

struct NamedColor {
    const char* name; // English; shown through QCoreApplication::translate("ColorValues", …)
    qint32 value;
};

// Standard, extended and system colours, in the order the lists show them.
const std::vector<NamedColor>& All();

bool IsSystem(qint32 value);
qint32 FromRgb(const QColor& c); // black gives 0, the default
// The colour to draw; an invalid colour for 0 or an unknown system index.
QColor ToColor(qint32 value, const QPalette& palette);

} // namespace ColorValues
