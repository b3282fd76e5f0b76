#pragma once
// A drawn bar that doubles as a slider (the settings window's transparency): a press or drag
// with the left button sets the value from the pointer's position along the bar, a press of
// the right button steps the value by one toward the pointer. Every change raises valueChanged.
#include <QSlider>

namespace vaultwing {

class BarSlider : public QSlider {
    Q_OBJECT
public:
    explicit BarSlider(QWidget* parent = nullptr);

    [[nodiscard]] QSize sizeHint() const override { return {200, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    [[nodiscard]] int ValueAt(double x) const;
    bool dragging_ = false;
};

} // namespace vaultwing
