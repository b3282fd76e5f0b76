#pragma once
// A list that takes files and folders dropped from the file manager, reports the Delete key and
// a press of the right button (which leaves the selection as it is). While empty it shows a hint
// that files can be dropped on it.
#include <QListWidget>
#include <string>
#include <vector>

namespace vaultwing {

class FileDropList : public QListWidget {
    Q_OBJECT
    // "text", as every caption the language table sets.
    Q_PROPERTY(QString text READ emptyHint WRITE setEmptyHint)
public:
    explicit FileDropList(QWidget* parent = nullptr);

    [[nodiscard]] QString emptyHint() const { return emptyHint_; }
    void setEmptyHint(const QString& hint);

signals:
    void filesDropped(const std::vector<std::string>& paths);
    void deletePressed();
    void rightPressed(const QPoint& globalPosition);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString emptyHint_;
};

} // namespace vaultwing
