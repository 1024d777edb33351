#pragma once

#include <QColor>
#include <QPalette>
#include <QPixmap>

class QWidget;

// The window's fixed colours (the tip panel, blue texts and links, the row
// pictures) as given on a light desktop, and their dark counterparts when
// the desktop's palette is dark, so text stays readable on both.
namespace ThemeColors {

// The window colour's lightness is under half.
bool IsDark(const QPalette& p);
// The contrast ratio of two colours, 1 to 21, as readability is measured.
double Contrast(const QColor& a, const QColor& b);

QColor TipBackground(const QPalette& p); // 0xE1FFFF on light desktops
QColor Blue(const QPalette& p);          // warning texts, titles and links
QColor HoverBackground(const QPalette& p);
// The picture with its lightness turned over and its colour muted: light
// row pictures become dark ones of the same hue.
QPixmap DarkCounterpart(const QPixmap& light);

// text when it reads well on back, else black or white, whichever reads
// better; muted towards back for grey text.
QColor ReadableOn(const QColor& back, const QColor& text, bool grey);

// color in its own hue, lighter or darker until it reads at ratio on back
// (black or white when no shade of it does).
QColor Legible(const QColor& color, const QColor& back, double ratio = 3.0);

// What a row's text is drawn in on back: a chosen colour (valid) made
// legible; else the palette's text, turned black or white on a chosen
// background (backChosen) where it would not read.
QColor RowText(const QColor& chosen, const QColor& paletteText, const QColor& back, bool backChosen,
               bool grey = false);

// Sets the widget's text colour to Blue() of its palette.
void UseBlueText(QWidget* w);

} // namespace ThemeColors
