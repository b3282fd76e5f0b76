#include "gui/widgets/ClickLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace vaultwing {

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setWordWrap(true);
    setFocusPolicy(Qt::StrongFocus);
}

namespace {
bool IsClickKey(const QKeyEvent* event) {
    const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    return plain && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter);
}
} // namespace

bool ClickLabel::event(QEvent* event) {
    // Claimed before the window's Enter shortcut sees it: Enter on the label is the label's.
    if (event->type() == QEvent::ShortcutOverride && IsClickKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLabel::event(event);
}

void ClickLabel::keyPressEvent(QKeyEvent* event) {
    if (!IsClickKey(event)) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    emit clicked();
}

void ClickLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(event);
}

// Underlined while the pointer is over it, so it reads as something to click.
void ClickLabel::enterEvent(QEnterEvent* event) {
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QLabel::enterEvent(event);
}

void ClickLabel::leaveEvent(QEvent* event) {
    QFont f = font();
    f.setUnderline(false);
    setFont(f);
    QLabel::leaveEvent(event);
}

} // namespace vaultwing
