#include "gui/widgets/HotRegionPicture.h"

#include <QPainter>

namespace vaultwing {

HotRegionPicture::HotRegionPicture(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
}

void HotRegionPicture::setLineColor(int edge, const QColor& color) {
    colors_.at(static_cast<std::size_t>(edge)) = color;
    update();
}

void HotRegionPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The monitor: a stand, a dark bezel and a blue desktop.
    const QRectF bezel(8, 4, width() - 16, height() - 22);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x9a, 0xa3, 0xad));
    painter.drawRect(QRectF(width() / 2.0 - 8, bezel.bottom(), 16, 8));
    painter.drawRoundedRect(QRectF(width() / 2.0 - 26, bezel.bottom() + 8, 52, 5), 2, 2);
    // A light bezel, so that a black (inactive) edge stands out as well as a red one.
    painter.setBrush(QColor(0xd6, 0xdb, 0xe0));
    painter.setPen(QPen(QColor(0x9a, 0xa3, 0xad), 1));
    painter.drawRoundedRect(bezel, 4, 4);
    painter.setPen(Qt::NoPen);
    const QRectF desk = bezel.adjusted(7, 7, -7, -7);
    QLinearGradient sky(desk.topLeft(), desk.bottomLeft());
    sky.setColorAt(0, QColor(0x6f, 0xa8, 0xdc));
    sky.setColorAt(1, QColor(0x2f, 0x6c, 0xb0));
    painter.setBrush(sky);
    painter.drawRect(desk);

    // The edges, drawn over the desktop's border: 0 top, 1 left, 2 right, 3 bottom.
    const QLineF lines[4] = {QLineF(desk.topLeft(), desk.topRight()), QLineF(desk.topLeft(), desk.bottomLeft()),
                             QLineF(desk.topRight(), desk.bottomRight()),
                             QLineF(desk.bottomLeft(), desk.bottomRight())};
    for (int i = 0; i < 4; ++i) {
        painter.setPen(QPen(colors_[static_cast<std::size_t>(i)], 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(lines[i]);
    }
}

} // namespace vaultwing
