#include "gui/Artwork.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>

namespace vaultwing::artwork {
namespace {

const QColor kVaultTop(0x2b, 0x6c, 0xb0);
const QColor kVaultBottom(0x12, 0x35, 0x66);
const QColor kGold(0xf4, 0xc4, 0x30);
const QColor kGoldDark(0xc8, 0x8f, 0x10);

qreal DeviceRatio() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->devicePixelRatio() : 1.0;
}

// A pointer drawn at the screen's pixel density, with its hot spot in logical pixels.
QCursor DrawnCursor(int size, const QPoint& hotSpot, void (*draw)(QPainter&, qreal)) {
    const qreal ratio = DeviceRatio();
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, size);
    painter.end();
    return QCursor(pixmap, hotSpot.x(), hotSpot.y());
}

QPainterPath Arrow() {
    QPainterPath path;
    path.moveTo(1, 1);
    path.lineTo(1, 17);
    path.lineTo(5.5, 13);
    path.lineTo(8.5, 19.5);
    path.lineTo(11, 18.5);
    path.lineTo(8.2, 12);
    path.lineTo(14, 12);
    path.closeSubpath();
    return path;
}

} // namespace

void PaintDropZone(QPainter& painter, const QRectF& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = std::min(area.width(), area.height());
    const QRectF tile(area.center().x() - s / 2, area.center().y() - s / 2, s, s);
    const auto at = [&](qreal x, qreal y) { return QPointF(tile.left() + x * s, tile.top() + y * s); };

    // The tile.
    QLinearGradient body(tile.topLeft(), tile.bottomLeft());
    body.setColorAt(0, kVaultTop);
    body.setColorAt(1, kVaultBottom);
    QPainterPath tilePath;
    const QRectF inner = tile.adjusted(s * 0.02, s * 0.02, -s * 0.02, -s * 0.02);
    tilePath.addRoundedRect(inner, s * 0.2, s * 0.2);
    painter.fillPath(tilePath, body);
    painter.setPen(QPen(QColor(255, 255, 255, 60), s * 0.02));
    painter.drawPath(tilePath);

    // The dashed edge that says "drop here".
    QPen dash(QColor(255, 255, 255, 110), s * 0.025);
    dash.setDashPattern({3.0, 2.5});
    dash.setCapStyle(Qt::RoundCap);
    painter.setPen(dash);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(tile.adjusted(s * 0.1, s * 0.1, -s * 0.1, -s * 0.1), s * 0.13, s * 0.13);

    // The padlock: shackle, then body with a keyhole.
    QPen shackle(QColor(0xe8, 0xee, 0xf6), s * 0.075);
    shackle.setCapStyle(Qt::FlatCap);
    painter.setPen(shackle);
    QPainterPath arc;
    arc.moveTo(at(0.36, 0.50));
    arc.lineTo(at(0.36, 0.38));
    arc.arcTo(QRectF(at(0.36, 0.24), at(0.64, 0.52)), 180, -180);
    arc.lineTo(at(0.64, 0.50));
    painter.drawPath(arc);

    QLinearGradient gold(at(0, 0.46), at(0, 0.80));
    gold.setColorAt(0, kGold);
    gold.setColorAt(1, kGoldDark);
    QPainterPath lock;
    lock.addRoundedRect(QRectF(at(0.27, 0.46), at(0.73, 0.80)), s * 0.06, s * 0.06);
    painter.setPen(QPen(kGoldDark.darker(130), s * 0.015));
    painter.setBrush(gold);
    painter.drawPath(lock);

    QPainterPath keyhole;
    keyhole.addEllipse(at(0.5, 0.595), s * 0.045, s * 0.045);
    QPainterPath slot;
    slot.moveTo(at(0.478, 0.61));
    slot.lineTo(at(0.522, 0.61));
    slot.lineTo(at(0.535, 0.72));
    slot.lineTo(at(0.465, 0.72));
    slot.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(kVaultBottom);
    painter.drawPath(keyhole.united(slot));
    painter.restore();
}

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        PaintDropZone(painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// The normal pointer: an arrow with a small padlock badge ("drop to lock or unlock").
QCursor NormalPointer() {
    return DrawnCursor(24, QPoint(1, 1), [](QPainter& p, qreal) {
        p.setPen(QPen(Qt::black, 1.2));
        p.setBrush(Qt::white);
        p.drawPath(Arrow());
        p.setPen(QPen(kVaultBottom, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(14.5, 11.5, 6, 7), 0, 180 * 16);
        p.setPen(QPen(kGoldDark.darker(140), 1.0));
        p.setBrush(kGold);
        p.drawRoundedRect(QRectF(13.5, 15, 8, 7), 1.5, 1.5);
    });
}

// The dragging pointer: four arrows around a centre.
QCursor DragPointer() {
    return DrawnCursor(24, QPoint(12, 12), [](QPainter& p, qreal) {
        QPainterPath cross;
        const auto head = [&](QPointF tip, QPointF a, QPointF b) {
            cross.moveTo(tip);
            cross.lineTo(a);
            cross.lineTo(b);
            cross.closeSubpath();
        };
        head({12, 1}, {7.5, 6}, {16.5, 6});
        head({12, 23}, {7.5, 18}, {16.5, 18});
        head({1, 12}, {6, 7.5}, {6, 16.5});
        head({23, 12}, {18, 7.5}, {18, 16.5});
        cross.addRect(QRectF(10.5, 5, 3, 14));
        cross.addRect(QRectF(5, 10.5, 14, 3));
        p.setPen(QPen(Qt::white, 2.0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(cross.simplified());
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPath(cross.simplified());
    });
}

} // namespace vaultwing::artwork
