#pragma once
// The small window routines every window uses, on Qt: taskbar button, topmost, transparency,
// the tray icon, unloading all windows and the delete-mode hints.
#include <functional>
#include <string>

class QWidget;

namespace vaultwing {

class QtUi;

// show -1 gives the window a taskbar button, 0 takes it away (a tool window has none); any other
// value leaves the style. The window is hidden for the change and keeps its visibility.
// lockUpdate has no equivalent here: Qt repaints the window once it is shown again.
void ShowInTaskbar(QWidget* form, int show, bool lockUpdate);

// onTop -1: topmost; 0: no longer topmost; other values: raised above the normal windows.
// Size and position stay; a visible window is activated unless activate is 0.
bool SetAlwaysOnTop(QWidget* form, int onTop, int activate);

// Whole-window alpha, 0 (invisible, though still shown) to 255 (opaque).
void SetTransparency(QWidget* form, int alpha);

// The notification-area icon with the tip "Vaultwing". `message` receives 514 for a left click
// and 517 for a context click. Without a notification area there is no icon; the program runs on.
// Returns whether an icon is up afterwards.
bool ShowTrayIcon(bool show, const std::function<void(int)>& message = {});
[[nodiscard]] bool TrayIconShown();

// Unloads every loaded window, each running its unload steps.
void UnloadAllForms(QtUi& ui);

// Puts `text` into both password dialogs' delete-mode hints (creating the dialogs hidden).
void SetDeleteModeText(QtUi& ui, const std::string& text);

} // namespace vaultwing
