#pragma once
// The progress window's bar: a rounded track filled in the run's colour, the percentage on top.
#include <QColor>
#include <QWidget>

namespace vaultwing {

class DrawnProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit DrawnProgressBar(QWidget* parent = nullptr);

    void setValue(int percent); // clamped to 0..100
    [[nodiscard]] int value() const { return value_; }
    void setBarColor(const QColor& color);
    [[nodiscard]] QColor barColor() const { return color_; }

    [[nodiscard]] QSize sizeHint() const override { return {280, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int value_ = 0;
    QColor color_{255, 0, 0};
};

} // namespace vaultwing
