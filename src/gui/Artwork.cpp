#include "gui/Artwork.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QScreen>
#include <algorithm>

namespace vaultwing::artwork {
namespace {

const QColor kInk(0x11, 0x2a, 0x66);
const QColor kGold(0xff, 0xc2, 0x1a);

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

// The program's emblem, the winged shield with a padlock of the shipped icon, drawn on a
// 256-unit square.
void PaintEmblem(QPainter& painter, const QRectF& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = std::min(area.width(), area.height());
    painter.translate(area.center().x() - s / 2, area.center().y() - s / 2);
    painter.scale(s / 256.0, s / 256.0);

    const QColor ink(0x11, 0x2a, 0x66);
    QPainterPath wing;
    wing.moveTo(92, 76);
    wing.cubicTo(66, 58, 38, 46, 8, 44);
    wing.cubicTo(20, 70, 52, 96, 92, 108);
    wing.closeSubpath();
    wing.moveTo(92, 104);
    wing.cubicTo(68, 94, 44, 88, 18, 90);
    wing.cubicTo(32, 112, 60, 128, 92, 134);
    wing.closeSubpath();
    wing.moveTo(92, 130);
    wing.cubicTo(72, 124, 54, 122, 32, 128);
    wing.cubicTo(46, 146, 68, 156, 92, 158);
    wing.closeSubpath();
    painter.setPen(QPen(ink, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(0xea, 0xf2, 0xff));
    painter.drawPath(wing);
    painter.drawPath(QTransform(-1, 0, 0, 1, 256, 0).map(wing));

    QPainterPath shield;
    shield.moveTo(128, 30);
    shield.cubicTo(152, 44, 176, 50, 194, 50);
    shield.lineTo(194, 120);
    shield.cubicTo(194, 168, 166, 204, 128, 228);
    shield.cubicTo(90, 204, 62, 168, 62, 120);
    shield.lineTo(62, 50);
    shield.cubicTo(80, 50, 104, 44, 128, 30);
    shield.closeSubpath();
    QPainterPath shade;
    shade.moveTo(128, 30);
    shade.cubicTo(152, 44, 176, 50, 194, 50);
    shade.lineTo(194, 120);
    shade.cubicTo(194, 168, 166, 204, 128, 228);
    shade.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.fillPath(shield, QColor(0x2f, 0x7c, 0xf0));
    painter.fillPath(shade, QColor(0x1f, 0x5b, 0xc4));
    painter.setPen(QPen(ink, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shield);

    QPainterPath shackle;
    shackle.moveTo(102, 122);
    shackle.lineTo(102, 100);
    shackle.cubicTo(102, 85.6, 113.6, 74, 128, 74);
    shackle.cubicTo(142.4, 74, 154, 85.6, 154, 100);
    shackle.lineTo(154, 122);
    shackle.lineTo(142, 122);
    shackle.lineTo(142, 100);
    shackle.cubicTo(142, 92.3, 135.7, 86, 128, 86);
    shackle.cubicTo(120.3, 86, 114, 92.3, 114, 100);
    shackle.lineTo(114, 122);
    shackle.closeSubpath();
    painter.setPen(QPen(ink, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(0xff, 0xd2, 0x4d));
    painter.drawPath(shackle);
    painter.setBrush(QColor(0xff, 0xc2, 0x1a));
    painter.drawRoundedRect(QRectF(94, 112, 68, 56), 10, 10);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xff, 0xd7, 0x5e));
    painter.drawRoundedRect(QRectF(100, 118, 28, 44), 5, 5);
    painter.setBrush(ink);
    painter.drawEllipse(QPointF(128, 134), 8, 8);
    painter.drawPolygon(QPolygonF({QPointF(124, 136), QPointF(132, 136), QPointF(134, 154), QPointF(122, 154)}));
    painter.restore();
}

void PaintDropZone(QPainter& painter, const QRectF& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = std::min(area.width(), area.height());
    const QRectF tile(area.center().x() - s / 2, area.center().y() - s / 2, s, s);

    // A light tile with a dashed edge that says "drop here", the emblem in its middle.
    QLinearGradient body(tile.topLeft(), tile.bottomLeft());
    body.setColorAt(0, QColor(0xf6, 0xf9, 0xff));
    body.setColorAt(1, QColor(0xd6, 0xe4, 0xfa));
    painter.fillRect(tile, body);
    QPen dash(QColor(0x2f, 0x7c, 0xf0, 150), std::max<qreal>(1.0, s * 0.025));
    dash.setDashPattern({3.0, 2.0});
    painter.setPen(dash);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(tile.adjusted(s * 0.06, s * 0.06, -s * 0.06, -s * 0.06), s * 0.12, s * 0.12);
    PaintEmblem(painter, tile.adjusted(s * 0.1, s * 0.1, -s * 0.1, -s * 0.1));
    painter.restore();
}

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        PaintEmblem(painter, QRectF(0, 0, size, size));
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
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(14.5, 11.5, 6, 7), 0, 180 * 16);
        p.setPen(QPen(kInk, 1.0));
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
