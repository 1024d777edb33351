// Draws the program's data files: the background bitmaps, the application
// icon and the alarm sound. Run once; its output is kept under data/.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>
#include <cmath>

namespace {

void gradient(const QString& path, QSize size, QColor top, QColor bottom, QColor line = {}) {
    QImage img(size, QImage::Format_RGB888);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(img.rect(), g);
    if (line.isValid()) {
        p.setPen(line);
        p.drawLine(0, size.height() - 1, size.width(), size.height() - 1);
    }
    p.end();
    img.save(path, "BMP");
}

// The program's icon on a 64-unit square, at size pixels.
void appIcon(const QString& path, int size = 64) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QLinearGradient g(0, 0, 0, 64);
    g.setColorAt(0, QColor(0x4a, 0x90, 0xe2));
    g.setColorAt(1, QColor(0x23, 0x5e, 0xb0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(3, 3, 58, 58), 12, 12);
    p.setBrush(QColor(0xfc, 0xfc, 0xf6));
    p.drawRoundedRect(QRectF(14, 10, 36, 44), 4, 4);
    for (int i = 0; i < 3; ++i) {
        const qreal y = 21 + i * 11;
        p.setPen(QPen(QColor(0x2e, 0x9d, 0x3a), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(19, y), tick.lineTo(22, y + 3), tick.lineTo(27, y - 3);
        if (i < 2)
            p.drawPath(tick);
        p.setPen(QPen(QColor(0x55, 0x66, 0x77), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(31, y), QPointF(45, y));
    }
    p.end();
    img.save(path, "PNG");
}

// The same drawing for the icon theme: scalable, and at its usual sizes.
void themeIcons(const QString& out) {
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        QDir().mkpath(dir);
        appIcon(dir + "/example.zarvik.Tasquel.png", size);
    }
    QDir().mkpath(out + "/scalable/apps");
    QFile svg(out + "/scalable/apps/example.zarvik.Tasquel.svg");
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QByteArray ticks;
    for (int i = 0; i < 3; ++i) {
        const int y = 21 + i * 11;
        if (i < 2)
            ticks += QStringLiteral("  <path d=\"M19 %1 L22 %2 L27 %3\" fill=\"none\" "
                                    "stroke=\"#2e9d3a\" stroke-width=\"3\" "
                                    "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n")
                         .arg(y)
                         .arg(y + 3)
                         .arg(y - 3)
                         .toUtf8();
        ticks += QStringLiteral("  <line x1=\"31\" y1=\"%1\" x2=\"45\" y2=\"%1\" "
                                "stroke=\"#556677\" stroke-width=\"2.5\" "
                                "stroke-linecap=\"round\"/>\n")
                     .arg(y)
                     .toUtf8();
    }
    svg.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" "
              "viewBox=\"0 0 64 64\">\n"
              "  <defs><linearGradient id=\"g\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
              "<stop offset=\"0\" stop-color=\"#4a90e2\"/>"
              "<stop offset=\"1\" stop-color=\"#235eb0\"/></linearGradient></defs>\n"
              "  <rect x=\"3\" y=\"3\" width=\"58\" height=\"58\" rx=\"12\" "
              "fill=\"url(#g)\"/>\n"
              "  <rect x=\"14\" y=\"10\" width=\"36\" height=\"44\" rx=\"4\" "
              "fill=\"#fcfcf6\"/>\n" +
              ticks + "</svg>\n");
}

// A soft two-tone chime, 16-bit mono PCM.
void alarm(const QString& path) {
    const int rate = 22050;
    const double seconds = 1.2;
    const int n = int(rate * seconds);
    QByteArray pcm(n * 2, Qt::Uninitialized);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / rate;
        const double first = t < 0.6 ? std::sin(2 * M_PI * 880 * t) * std::exp(-t * 5) : 0;
        const double t2 = t - 0.3;
        const double second = t2 > 0 ? std::sin(2 * M_PI * 1318.5 * t2) * std::exp(-t2 * 4) : 0;
        const double attack = std::min(1.0, t * 200);
        const qint16 v = qint16(std::lround(9000 * attack * (first + second)));
        qToLittleEndian(v, pcm.data() + i * 2);
    }
    QByteArray wav;
    const auto u32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    const auto u16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    wav.append("RIFF");
    u32(36 + pcm.size());
    wav.append("WAVEfmt ");
    u32(16), u16(1), u16(1), u32(rate), u32(rate * 2), u16(2), u16(16);
    wav.append("data");
    u32(pcm.size());
    wav.append(pcm);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(wav);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "--icons") {
        themeIcons(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("data");
    QDir().mkpath(out + "/Images");
    QDir().mkpath(out + "/Sounds");
    gradient(out + "/Images/toolsbarBackground.bmp", {64, 36}, QColor(0xf4, 0xf8, 0xfd),
             QColor(0xd5, 0xe3, 0xf3), QColor(0xb4, 0xc8, 0xe0));
    gradient(out + "/Images/searchbarBackground.bmp", {64, 32}, QColor(0xe6, 0xec, 0xf3),
             QColor(0xf7, 0xf9, 0xfc));
    gradient(out + "/Images/groupBackground.bmp", {64, 24}, QColor(0xfb, 0xf8, 0xee),
             QColor(0xf5, 0xf0, 0xdf), QColor(0xe8, 0xe1, 0xca));
    gradient(out + "/Images/itemBackground0.bmp", {64, 24}, QColor(0xff, 0xff, 0xff),
             QColor(0xf3, 0xf6, 0xfa), QColor(0xe1, 0xe7, 0xef));
    gradient(out + "/Images/itemBackground1.bmp", {64, 24}, QColor(0xf3, 0xf8, 0xf3),
             QColor(0xe8, 0xf1, 0xe8), QColor(0xd9, 0xe5, 0xd9));
    appIcon(out + "/Images/appIcon.png");
    alarm(out + "/Sounds/Alarm.wav");
    return 0;
}
