#include "gui/widgets/DrawnProgressBar.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace vaultwing {

DrawnProgressBar::DrawnProgressBar(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(18);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void DrawnProgressBar::setValue(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent == value_) return;
    value_ = percent;
    update();
}

void DrawnProgressBar::setBarColor(const QColor& color) {
    color_ = color;
    update();
}

void DrawnProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = track.height() / 2.0;

    QPainterPath trackPath;
    trackPath.addRoundedRect(track, radius, radius);
    painter.fillPath(trackPath, palette().color(QPalette::Base).darker(104));

    if (value_ > 0) {
        QRectF filled = track;
        filled.setWidth(std::max(track.height(), track.width() * value_ / 100.0));
        QPainterPath fillPath;
        fillPath.addRoundedRect(filled, radius, radius);
        painter.fillPath(fillPath.intersected(trackPath), color_);
    }
    painter.setPen(QPen(palette().color(QPalette::Mid), 1.0));
    painter.drawPath(trackPath);

    // The figure stays readable over both the filled and the empty part.
    const QString text = QString::number(value_) + QStringLiteral(" %");
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(value_ >= 50 ? QColor(Qt::white) : palette().color(QPalette::Text));
    painter.drawText(track, Qt::AlignCenter, text);
}

} // namespace vaultwing
