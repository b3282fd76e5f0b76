#include "gui/WindowRoutines.h"

#include <algorithm>

#include <QDir>
#include <QDropEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QUrl>
#include <QWidget>

#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/widgets/ClickLabel.h"
#include "gui/windows/DecryptPasswordDialog.h"
#include "gui/windows/DropZoneWindow.h"
#include "gui/windows/EncryptPasswordDialog.h"

namespace vaultwing {
namespace {

QPointer<QSystemTrayIcon>& Tray() {
    static QPointer<QSystemTrayIcon> tray;
    return tray;
}

// Changes window flags without losing the window's visibility (Qt hides a window whose flags
// change).
void ChangeFlags(QWidget* window, Qt::WindowFlags flags) {
    if (window->windowFlags() == flags) return;
    const bool visible = window->isVisible();
    window->setWindowFlags(flags);
    if (visible) window->show();
}

} // namespace

void ShowInTaskbar(QWidget* window, bool show) {
    if (window == nullptr) return;
    const bool visible = window->isVisible();
    // Only the window-type bits change.
    const Qt::WindowFlags flags = (window->windowFlags() & ~Qt::WindowType_Mask) | (show ? Qt::Window : Qt::Tool);
    if (flags != window->windowFlags()) window->setWindowFlags(flags);
    window->update();
    if (visible) window->show();
}

void SetAlwaysOnTop(QWidget* window, bool onTop, bool activate) {
    if (window == nullptr) return;
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    ChangeFlags(window, flags);
    if (window->isVisible()) {
        window->raise();
        if (activate) window->activateWindow();
    }
}

void SetTransparency(QWidget* window, int alpha) {
    if (window == nullptr) return;
    window->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
}

bool ShowTrayIcon(bool show, const std::function<void(TrayClick)>& onClick) {
    QPointer<QSystemTrayIcon>& tray = Tray();
    if (!show) {
        delete tray.data();
        tray = nullptr;
        return false;
    }
    if (tray) return true;
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
    tray = new QSystemTrayIcon(artwork::AppIcon());
    tray->setToolTip(QStringLiteral("Vaultwing"));
    QObject::connect(tray.data(), &QSystemTrayIcon::activated, tray.data(),
                     [onClick](QSystemTrayIcon::ActivationReason reason) {
                         if (!onClick) return;
                         if (reason == QSystemTrayIcon::Trigger)
                             onClick(TrayClick::Left);
                         else if (reason == QSystemTrayIcon::Context)
                             onClick(TrayClick::Context);
                     });
    tray->show();
    return true;
}

bool TrayIconShown() {
    return !Tray().isNull();
}

std::string DroppedPath(const QUrl& url) {
    return QDir::toNativeSeparators(QDir::cleanPath(url.toLocalFile())).toStdString();
}

bool AcceptAsCopy(QDropEvent* event) {
    if (!event->possibleActions().testFlag(Qt::CopyAction)) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void KeepClearOfDropZone(QtUi& ui, QWidget* dialog) {
    const DropZoneWindow* tile = ui.DropZoneIfLoaded();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (tile == nullptr || !tile->isVisible() || screen == nullptr) return;
    const QRect zone = tile->frameGeometry().adjusted(-8, -8, 8, 8); // a small gap around the tile
    const QRect frame = dialog->frameGeometry();
    if (!frame.intersects(zone)) return;
    const QRect area = screen->availableGeometry();
    const QPoint places[] = {{frame.x(), zone.bottom() + 1},
                             {frame.x(), zone.top() - frame.height()},
                             {zone.right() + 1, frame.y()},
                             {zone.left() - frame.width(), frame.y()}};
    for (const QPoint& place : places)
        if (area.contains(QRect(place, frame.size()))) {
            dialog->move(place);
            return;
        }
}

void CloseOnEscape(QWidget* window) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    QObject::connect(escape, &QShortcut::activated, window, [window] { window->close(); });
}

void PressDefaultOnEnter(QWidget* window, std::function<QAbstractButton*()> defaultButton) {
    auto* enter = new QShortcut(window);
    enter->setKeys({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    QObject::connect(enter, &QShortcut::activated, window, [window, defaultButton = std::move(defaultButton)] {
        QAbstractButton* button = qobject_cast<QPushButton*>(window->focusWidget());
        if (button == nullptr) button = defaultButton();
        if (button != nullptr && button->isVisible() && button->isEnabled()) button->click();
    });
}

void UnloadAllWindows(QtUi& ui) {
    ui.UnloadAll();
}

void SetDeleteModeText(QtUi& ui, const std::string& text) {
    const QString hint = QString::fromStdString(text);
    ui.EncryptDialog().SetDeleteModeHint(hint);
    ui.DecryptDialog().SetDeleteModeHint(hint);
}

} // namespace vaultwing
