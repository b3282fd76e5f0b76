#include "gui/widgets/FileDropList.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include "gui/WindowRoutines.h"

namespace vaultwing {
namespace {

bool CarriesLocalFiles(const QMimeData* mime) {
    if (mime == nullptr || !mime->hasUrls() || mime->urls().isEmpty()) return false;
    for (const QUrl& url : mime->urls())
        if (!url.isLocalFile()) return false;
    return true;
}

} // namespace

FileDropList::FileDropList(QWidget* parent) : QListWidget(parent) {
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSortingEnabled(false); // the entries arrive sorted from the list they show
}

void FileDropList::dragEnterEvent(QDragEnterEvent* event) {
    if (CarriesLocalFiles(event->mimeData())) (void)AcceptAsCopy(event);
}

void FileDropList::dragMoveEvent(QDragMoveEvent* event) {
    if (CarriesLocalFiles(event->mimeData())) (void)AcceptAsCopy(event);
}

void FileDropList::dropEvent(QDropEvent* event) {
    if (!AcceptAsCopy(event)) return;
    std::vector<std::string> paths;
    if (event->mimeData() != nullptr && event->mimeData()->hasUrls()) {
        for (const QUrl& url : event->mimeData()->urls()) {
            if (url.isLocalFile()) paths.push_back(DroppedPath(url));
        }
    }
    emit filesDropped(paths);
}

void FileDropList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        emit deletePressed();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FileDropList::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        emit rightPressed(event->globalPosition().toPoint());
        return;
    }
    QListWidget::mousePressEvent(event);
}

void FileDropList::setEmptyHint(const QString& hint) {
    emptyHint_ = hint;
    viewport()->update();
}

void FileDropList::paintEvent(QPaintEvent* event) {
    QListWidget::paintEvent(event);
    if (count() > 0 || emptyHint_.isEmpty()) return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect().adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap, emptyHint_);
}

} // namespace vaultwing
