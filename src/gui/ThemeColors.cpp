#include "ThemeColors.h"

#include <QImage>
#include <QWidget>
#include <cmath>

namespace ThemeColors {

bool IsDark(const QPalette& p) {
    return p.color(QPalette::Window).lightnessF() < 0.5;
}

namespace {
double luminance(const QColor& c) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
} // namespace

double Contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor TipBackground(const QPalette& p) {
    return IsDark(p) ? QColor(0x45, 0x42, 0x22) : QColor(255, 255, 225);
}

QColor Blue(const QPalette& p) {
    if (!IsDark(p))
        return QColor(Qt::blue);
    // The palette's own link colour where it reads well on the window.
    const QColor link = p.color(QPalette::Link);
    return Contrast(link, p.color(QPalette::Window)) >= 4.5 ? link : QColor(0x8a, 0xb4, 0xf8);
}

QColor HoverBackground(const QPalette& p) {
    return IsDark(p) ? p.color(QPalette::Base).lighter(160) : p.color(QPalette::ToolTipBase);
}

QPixmap DarkCounterpart(const QPixmap& light) {
    if (light.isNull())
        return light;
    QImage img = light.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            float h, s, l, a;
            QColor::fromRgba(line[x]).getHslF(&h, &s, &l, &a);
            line[x] = QColor::fromHslF(h, s * 0.5f, 0.12f + (1.0f - l) * 0.6f, a).rgba();
        }
    }
    return QPixmap::fromImage(img);
}

QColor ReadableOn(const QColor& back, const QColor& text, bool grey) {
    if (Contrast(text, back) >= (grey ? 3.0 : 4.5))
        return text;
    const QColor best = Contrast(Qt::black, back) >= Contrast(Qt::white, back) ? QColor(Qt::black)
                                                                               : QColor(Qt::white);
    if (!grey)
        return best;
    const auto mix = [](float a, float b) { return a * 0.7f + b * 0.3f; };
    return QColor::fromRgbF(mix(best.redF(), back.redF()), mix(best.greenF(), back.greenF()),
                            mix(best.blueF(), back.blueF()));
}

QColor Legible(const QColor& color, const QColor& back, double ratio) {
    if (Contrast(color, back) >= ratio)
        return color;
    float h, s, l, a;
    color.getHslF(&h, &s, &l, &a);
    // Away from the background first: lighter on a dark one.
    const float first = luminance(back) < 0.18 ? 1.0f : -1.0f;
    for (const float direction : {first, -first}) {
        for (float to = l + direction * 0.02f; to >= 0.0f && to <= 1.0f; to += direction * 0.02f) {
            const QColor shade = QColor::fromHslF(h, s, to, a);
            if (Contrast(shade, back) >= ratio)
                return shade;
        }
    }
    return ReadableOn(back, color, false);
}

QColor RowText(const QColor& chosen, const QColor& paletteText, const QColor& back, bool backChosen,
               bool grey) {
    if (chosen.isValid())
        return Legible(chosen, back);
    return backChosen ? ReadableOn(back, paletteText, grey) : paletteText;
}

void UseBlueText(QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, Blue(p));
    w->setPalette(p);
}

} // namespace ThemeColors
