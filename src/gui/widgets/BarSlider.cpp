#include "gui/widgets/BarSlider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace vaultwing {

BarSlider::BarSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setSingleStep(1);
    setPageStep(1);
    setMinimumHeight(22);
    setCursor(Qt::PointingHandCursor);
}

int BarSlider::ValueAt(double x) const {
    const double inner = std::max(1, width() - 2);
    const double fraction = std::clamp((x - 1) / inner, 0.0, 1.0);
    return minimum() + static_cast<int>(std::lround(fraction * (maximum() - minimum())));
}

void BarSlider::mousePressEvent(QMouseEvent* event) {
    const double x = event->position().x();
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        setValue(ValueAt(x));
    } else if (event->button() == Qt::RightButton) {
        const int target = ValueAt(x);
        if (target != value()) setValue(value() + (target > value() ? 1 : -1));
    }
    event->accept();
}

void BarSlider::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) setValue(ValueAt(event->position().x()));
    event->accept();
}

void BarSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragging_ = false;
    event->accept();
}

void BarSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath outline;
    outline.addRoundedRect(track, 4, 4);
    painter.fillPath(outline, palette().color(QPalette::Base));
    const double fraction = maximum() > minimum() ? double(value() - minimum()) / (maximum() - minimum()) : 0.0;
    QRectF filled = track.adjusted(1.5, 1.5, -1.5, -1.5);
    filled.setWidth(filled.width() * fraction);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, QColor(0x3a, 0x78, 0xc2));
    fill.setColorAt(1, QColor(0x1d, 0x4f, 0x8a));
    QPainterPath bar;
    bar.addRoundedRect(filled, 3, 3);
    painter.fillPath(bar, fill);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.drawPath(outline);
    painter.setPen(fraction > 0.5 ? Qt::white : palette().color(QPalette::Text));
    const QString text = QString::number(value());
    painter.drawText(rect(), Qt::AlignCenter, text);
    // Drawn by hand, so the focus is too: a dotted frame round the value, in the value's colour,
    // which stands out from the bar and the track alike.
    if (!hasFocus()) return;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(painter.pen().color(), 1, Qt::DotLine));
    painter.drawRect(painter.boundingRect(rect(), Qt::AlignCenter, text).adjusted(-4, 0, 3, -1));
}

} // namespace vaultwing
