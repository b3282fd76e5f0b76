#include "gui/WindowRoutines.h"

#include <algorithm>

#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

#include "gui/widgets/ClickLabel.h"
#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/windows/EncryptPasswordDialog.h"
#include "gui/windows/DecryptPasswordDialog.h"

namespace vaultwing {
namespace {

QPointer<QSystemTrayIcon>& Tray() {
    static QPointer<QSystemTrayIcon> tray;
    return tray;
}

// Changes window flags without losing the window's visibility (Qt hides a window whose flags
// change).
void ChangeFlags(QWidget* form, Qt::WindowFlags flags) {
    if (form->windowFlags() == flags) return;
    const bool visible = form->isVisible();
    form->setWindowFlags(flags);
    if (visible) form->show();
}

} // namespace

void ShowInTaskbar(QWidget* form, int show, bool /*lockUpdate*/) {
    if (form == nullptr) return;
    const bool visible = form->isVisible();
    if (show == -1 || show == 0) {
        // A tool window has no taskbar button. Only the window-type bits change.
        const Qt::WindowFlags type = show == 0 ? Qt::Tool : Qt::Window;
        const Qt::WindowFlags flags = (form->windowFlags() & ~Qt::WindowType_Mask) | type;
        if (flags != form->windowFlags()) form->setWindowFlags(flags);
    } else {
        form->hide();
    }
    form->update();
    if (visible) form->show();
}

bool SetAlwaysOnTop(QWidget* form, int onTop, int activate) {
    if (form == nullptr) return false;
    if (onTop == -1 || onTop == 0) {
        Qt::WindowFlags flags = form->windowFlags();
        flags.setFlag(Qt::WindowStaysOnTopHint, onTop == -1);
        ChangeFlags(form, flags);
    }
    if (form->isVisible()) {
        form->raise();
        if (activate != 0) form->activateWindow();
    }
    return true;
}

void SetTransparency(QWidget* form, int alpha) {
    if (form == nullptr) return;
    form->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
}

bool ShowTrayIcon(bool show, const std::function<void(int)>& message) {
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
                     [message](QSystemTrayIcon::ActivationReason reason) {
                         if (!message) return;
                         if (reason == QSystemTrayIcon::Trigger)
                             message(514);
                         else if (reason == QSystemTrayIcon::Context)
                             message(517);
                     });
    tray->show();
    return true;
}

bool TrayIconShown() {
    return !Tray().isNull();
}

void UnloadAllForms(QtUi& ui) {
    ui.UnloadAll();
}

void SetDeleteModeText(QtUi& ui, const std::string& text) {
    const QString hint = QString::fromStdString(text);
    ui.Key().lblDelHinweis->setText(hint);
    ui.KeyDirect().lblDelHinweis2->setText(hint);
}

} // namespace vaultwing
