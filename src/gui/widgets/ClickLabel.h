#pragma once
// A label that reports a click: the password dialogs' delete-mode hint. It takes the focus
// with Tab, shows it with a frame, and reports Space and Enter as a click.
#include <QLabel>

namespace vaultwing {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

} // namespace vaultwing
