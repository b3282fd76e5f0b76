#pragma once
// A list that takes files and folders dropped from the file manager, reports the Delete key and
// a press of the right button (which leaves the selection as it is).
#include <QListWidget>
#include <string>
#include <vector>

namespace vaultwing {

class FileDropList : public QListWidget {
    Q_OBJECT
public:
    explicit FileDropList(QWidget* parent = nullptr);

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
};

} // namespace vaultwing
