#include "gui/widgets/MarqueeBox.h"

#include <QFontDatabase>
#include <QPainter>

namespace vaultwing {

MarqueeBox::MarqueeBox(QWidget* parent) : QWidget(parent) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setBold(true);
    setFont(font);
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MarqueeBox::setText(const QString& text) {
    text_ = text;
    update();
}

int MarqueeBox::textWidth() const {
    return fontMetrics().horizontalAdvance(text_);
}

void MarqueeBox::setPosition(int x) {
    position_ = x;
    update();
}

void MarqueeBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x0c, 0x24, 0x48));
    painter.setPen(QColor(0xe8, 0xf0, 0xfa));
    painter.setFont(font());
    const QFontMetrics metrics = fontMetrics();
    const int baseline = 1 + (height() - 2 - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(position_, baseline, text_ + text_);
}

} // namespace vaultwing
