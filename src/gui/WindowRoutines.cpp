#include "gui/WindowRoutines.h"

#include <algorithm>

#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/widgets/ClickLabel.h"
#include "gui/windows/DecryptPasswordDialog.h"
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

void ShowInTaskbar(QWidget* window, int show, bool /*lockUpdate*/) {
    if (window == nullptr) return;
    const bool visible = window->isVisible();
    if (show == -1 || show == 0) {
        // A tool window has no taskbar button. Only the window-type bits change.
        const Qt::WindowFlags type = show == 0 ? Qt::Tool : Qt::Window;
        const Qt::WindowFlags flags = (window->windowFlags() & ~Qt::WindowType_Mask) | type;
        if (flags != window->windowFlags()) window->setWindowFlags(flags);
    } else {
        window->hide();
    }
    window->update();
    if (visible) window->show();
}

bool SetAlwaysOnTop(QWidget* window, int onTop, int activate) {
    if (window == nullptr) return false;
    if (onTop == -1 || onTop == 0) {
        Qt::WindowFlags flags = window->windowFlags();
        flags.setFlag(Qt::WindowStaysOnTopHint, onTop == -1);
        ChangeFlags(window, flags);
    }
    if (window->isVisible()) {
        window->raise();
        if (activate != 0) window->activateWindow();
    }
    return true;
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

void UnloadAllWindows(QtUi& ui) {
    ui.UnloadAll();
}

void SetDeleteModeText(QtUi& ui, const std::string& text) {
    const QString hint = QString::fromStdString(text);
    ui.EncryptDialog().SetDeleteModeHint(hint);
    ui.DecryptDialog().SetDeleteModeHint(hint);
}

} // namespace vaultwing
