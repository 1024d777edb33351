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

void appIcon(const QString& path) {
    QImage img(64, 64, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
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
