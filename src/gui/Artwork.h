#pragma once
// The program's own artwork, drawn as vectors so it stays crisp at any scale: the drop zone,
// the window and tray icon, and the drop zone's two pointers.
#include <QCursor>
#include <QIcon>
#include <QPainter>
#include <QRectF>

namespace vaultwing::artwork {

// The emblem: a winged shield with a padlock, as the shipped icon shows it.
void PaintEmblem(QPainter& painter, const QRectF& area);

// The drop zone: a light tile with a dashed "drop here" edge and the emblem.
void PaintDropZone(QPainter& painter, const QRectF& area);

// The program icon (windows, tray), rendered from the drop-zone artwork.
[[nodiscard]] QIcon AppIcon();

// The drop zone's normal pointer and the one shown while it is being dragged.
[[nodiscard]] QCursor NormalPointer();
[[nodiscard]] QCursor DragPointer();

} // namespace vaultwing::artwork
