#pragma once
// A small picture of a screen whose four edges are drawn as lines in their own colours: the
// settings window's hot-region edges (0 top, 1 left, 2 right, 3 bottom).
#include <QColor>
#include <QWidget>
#include <array>

namespace vaultwing {

class HotRegionPicture : public QWidget {
    Q_OBJECT
public:
    explicit HotRegionPicture(QWidget* parent = nullptr);

    void setLineColor(int edge, const QColor& color);
    [[nodiscard]] QColor lineColor(int edge) const { return colors_.at(static_cast<std::size_t>(edge)); }

    [[nodiscard]] QSize sizeHint() const override { return {150, 100}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<QColor, 4> colors_{QColor(0, 0, 0), QColor(0, 0, 0), QColor(0, 0, 0), QColor(0, 0, 0)};
};

} // namespace vaultwing
