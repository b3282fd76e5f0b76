#pragma once
// The about window's credits box: a text in a fixed-width font drawn twice in a row from a
// horizontal position, so that it can scroll without a gap.
#include <QString>
#include <QWidget>

namespace vaultwing {

class MarqueeBox : public QWidget {
    Q_OBJECT
public:
    explicit MarqueeBox(QWidget* parent = nullptr);

    void setText(const QString& text);
    [[nodiscard]] const QString& text() const { return text_; }
    // Width of one copy of the text in pixels.
    [[nodiscard]] int textWidth() const;
    void setPosition(int x);
    [[nodiscard]] int position() const { return position_; }

    // 4300 × 330 twips.
    [[nodiscard]] QSize sizeHint() const override { return {287, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    int position_ = 1;
};

} // namespace vaultwing
