#include "ImageList.h"

#include <QAction>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kInk(0x33, 0x44, 0x55);
const QColor kGreen(0x2e, 0x9d, 0x3a);
const QColor kRed(0xd0, 0x33, 0x2a);
const QColor kBlue(0x2f, 0x6f, 0xc4);
const QColor kPaper(0xfc, 0xfc, 0xf6);

void page(QPainter& p, QRectF r) {
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(kPaper);
    p.drawRoundedRect(r, 1.2, 1.2);
    p.setPen(QPen(QColor(0x9a, 0xa8, 0xb6), 0.9));
    for (qreal y = r.top() + 3; y < r.bottom() - 1.5; y += 2.5)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void badge(QPainter& p, QPointF c, qreal radius, const QColor& fill, bool plus) {
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(c, radius, radius);
    p.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::FlatCap));
    const qreal a = radius * 0.55;
    p.drawLine(QPointF(c.x() - a, c.y()), QPointF(c.x() + a, c.y()));
    if (plus)
        p.drawLine(QPointF(c.x(), c.y() - a), QPointF(c.x(), c.y() + a));
}

void magnifier(QPainter& p) {
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(0xdd, 0xee, 0xff));
    p.drawEllipse(QPointF(6.5, 6.5), 4.2, 4.2);
    p.setPen(QPen(kInk, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.7, 9.7), QPointF(14, 14));
}

void clockFace(QPainter& p, const QColor& rim) {
    p.setPen(QPen(rim, 1.6));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 8), 6.2, 6.2);
    p.setPen(QPen(kInk, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(8, 4.2));
    p.drawLine(QPointF(8, 8), QPointF(10.8, 9.6));
}

void sortArrow(QPainter& p, bool ascending) {
    QFont f;
    f.setPixelSize(6);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(0, 0, 8, 8), Qt::AlignCenter,
               ascending ? QStringLiteral("A") : QStringLiteral("Z"));
    p.drawText(QRectF(0, 8, 8, 8), Qt::AlignCenter,
               ascending ? QStringLiteral("Z") : QStringLiteral("A"));
    p.setPen(QPen(kBlue, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(11.5, 2), QPointF(11.5, 14));
    QPainterPath head;
    if (ascending) {
        head.moveTo(9, 11.5), head.lineTo(11.5, 14), head.lineTo(14, 11.5);
    } else {
        head.moveTo(9, 4.5), head.lineTo(11.5, 2), head.lineTo(14, 4.5);
    }
    p.setBrush(Qt::NoBrush);
    p.drawPath(head);
}

// Draws picture `index` in a 16 by 16 design grid.
bool draw(QPainter& p, int index) {
    switch (index) {
    case ImageList::TaskAdd:
        page(p, QRectF(2.5, 1.5, 9, 12));
        badge(p, QPointF(11.5, 11.5), 4, kGreen, true);
        return true;
    case ImageList::SubTaskAdd:
        p.setPen(QPen(kInk, 1.0));
        p.drawLine(QPointF(2.5, 1.5), QPointF(2.5, 7.5));
        p.drawLine(QPointF(2.5, 7.5), QPointF(5, 7.5));
        page(p, QRectF(5.5, 3.5, 7, 9));
        badge(p, QPointF(11.8, 11.8), 3.6, kGreen, true);
        return true;
    case ImageList::Edit: {
        page(p, QRectF(1.5, 1.5, 9, 12));
        p.setPen(QPen(kInk, 0.8));
        p.setBrush(QColor(0xf2, 0xb1, 0x3a));
        QPolygonF pencil({QPointF(13.5, 3.5), QPointF(15, 5), QPointF(8, 12), QPointF(6, 12.8),
                          QPointF(6.8, 10.8)});
        p.drawPolygon(pencil);
        return true;
    }
    case ImageList::Delete:
        p.setPen(QPen(kRed, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
        return true;
    case ImageList::ViewDate:
        p.setPen(QPen(kInk, 1.0));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 2.5, 13, 12));
        p.setBrush(kRed);
        p.drawRect(QRectF(1.5, 2.5, 13, 3));
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                p.drawRect(QRectF(3 + c * 2.7, 7 + r * 2.4, 1.6, 1.4));
        return true;
    case ImageList::SortAscending:
        sortArrow(p, true);
        return true;
    case ImageList::SortDescending:
        sortArrow(p, false);
        return true;
    case ImageList::ViewList:
        for (int i = 0; i < 4; ++i) {
            p.setPen(Qt::NoPen);
            p.setBrush(kBlue);
            p.drawEllipse(QPointF(3, 3 + i * 3.4), 1.3, 1.3);
            p.setPen(QPen(kInk, 1.3));
            p.drawLine(QPointF(6, 3 + i * 3.4), QPointF(14.5, 3 + i * 3.4));
        }
        return true;
    case ImageList::ExpandAll:
    case ImageList::CollapseAll:
        p.setPen(QPen(kInk, 1.0));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 2.5, 11, 11));
        p.setPen(QPen(kBlue, 1.8));
        p.drawLine(QPointF(5, 8), QPointF(11, 8));
        if (index == ImageList::ExpandAll)
            p.drawLine(QPointF(8, 5), QPointF(8, 11));
        return true;
    case ImageList::FinishEdit: {
        p.setPen(QPen(kGreen, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(2.5, 8.5), tick.lineTo(6.5, 12.5), tick.lineTo(13.5, 3.5);
        p.drawPath(tick);
        return true;
    }
    case ImageList::Search:
        magnifier(p);
        return true;
    case ImageList::SearchNoResult:
        magnifier(p);
        p.setPen(QPen(kRed, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4.5, 4.5), QPointF(8.5, 8.5));
        p.drawLine(QPointF(8.5, 4.5), QPointF(4.5, 8.5));
        return true;
    case ImageList::SearchClear:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x8a, 0x94, 0x9e));
        p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
        p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
        p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
        return true;
    case ImageList::Reminder: {
        p.setPen(QPen(QColor(0x8a, 0x6a, 0x10), 1.0));
        p.setBrush(QColor(0xf5, 0xc5, 0x18));
        QPainterPath bell;
        bell.moveTo(2.5, 12.5);
        bell.cubicTo(4.5, 10.5, 3.5, 3, 8, 3);
        bell.cubicTo(12.5, 3, 11.5, 10.5, 13.5, 12.5);
        bell.closeSubpath();
        p.drawPath(bell);
        p.drawEllipse(QPointF(8, 14), 1.5, 1.3);
        p.drawEllipse(QPointF(8, 2.2), 1.0, 1.0);
        return true;
    }
    case ImageList::DuePassed:
        clockFace(p, kRed);
        return true;
    case ImageList::DueAhead:
        clockFace(p, kGreen);
        return true;
    default:
        return false;
    }
}

// Picture `index` at `side` device pixels, cached: rows draw them by the hundred.
QPixmap render(int index, int side) {
    static QHash<quint64, QPixmap> cache;
    const quint64 key = (quint64(index) << 32) | quint32(side);
    if (auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(side / 16.0, side / 16.0);
        draw(p, index);
    }
    cache.insert(key, pm);
    return pm;
}

// Paints the drawing afresh for every size and device pixel ratio asked for,
// so a picture is as sharp at 3x in a tool bar as at 1x in a row.
class DrawnEngine : public QIconEngine {
public:
    explicit DrawnEngine(int index) : m_index(index) {}
    void paint(QPainter* p, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal dpr = p->device() ? p->device()->devicePixelRatioF() : 1.0;
        p->drawPixmap(rect, drawn(rect.size(), mode, dpr));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        return drawn(size, mode, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
        // Until 6.8 QIcon asks in device pixels.
        return drawn(size / scale, mode, scale);
#else
        return drawn(size, mode, scale);
#endif
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = qMin(size.width(), size.height());
        return {side, side};
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {{16, 16}, {22, 22}};
    }
    QIconEngine* clone() const override {
        return new DrawnEngine(m_index);
    }
    QString key() const override {
        return QStringLiteral("ZvDrawn");
    }

private:
    QPixmap drawn(const QSize& size, QIcon::Mode mode, qreal scale) const {
        const int side = qMax(1, qRound(qMin(size.width(), size.height()) * scale));
        QPixmap pm = render(m_index, side);
        if (mode == QIcon::Disabled)
            pm = disabled(pm);
        pm.setDevicePixelRatio(scale);
        return pm;
    }
    // Grey and faint, as a style greys a disabled command's picture.
    static QPixmap disabled(const QPixmap& pm) {
        QImage img = pm.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                const int g = qGray(line[x]);
                line[x] = qRgba(g, g, g, qAlpha(line[x]) * 2 / 5);
            }
        }
        return QPixmap::fromImage(img);
    }
    int m_index;
};

} // namespace

namespace ImageList {

QPixmap Pixmap(int index, int size, qreal dpr) {
    QPixmap pm = render(index, qRound(size * dpr));
    pm.setDevicePixelRatio(dpr);
    return pm;
}

QIcon Icon(int index) {
    return QIcon(new DrawnEngine(index));
}

} // namespace ImageList

QAction* MakeAction(QObject* owner, const char* name, const QString& caption, const QString& hint,
                    int image) {
    auto* a = new QAction(caption, owner);
    a->setObjectName(QLatin1String(name));
    if (!hint.isEmpty()) {
        a->setToolTip(hint);
        a->setStatusTip(hint);
    }
    if (image >= 0) {
        a->setIcon(ImageList::Icon(image));
        a->setProperty("imageIndex", image);
    }
    return a;
}
