#pragma once
// The small window routines every window uses, on Qt: taskbar button, topmost, transparency,
// the tray icon, unloading all windows and the delete-mode hints.
#include <functional>
#include <string>

class QAbstractButton;
class QDropEvent;
class QUrl;
class QWidget;

namespace vaultwing {

class QtUi;

// Gives the window a taskbar button or takes it away (a tool window has none). The window keeps
// its visibility.
void ShowInTaskbar(QWidget* window, bool show);

// Keeps the window above all others, or no longer. Size and position stay; a visible window is
// raised, and activated when `activate` is set.
void SetAlwaysOnTop(QWidget* window, bool onTop, bool activate);

// Whole-window alpha, 0 (invisible, though still shown) to 255 (opaque).
void SetTransparency(QWidget* window, int alpha);

// The clicks on the notification-area icon the drop zone answers.
enum class TrayClick { Left, Context };

// The notification-area icon with the tip "Vaultwing"; `onClick` hears of its clicks. Without a
// notification area there is no icon; the program runs on. Returns whether an icon is up afterwards.
bool ShowTrayIcon(bool show, const std::function<void(TrayClick)>& onClick = {});
[[nodiscard]] bool TrayIconShown();

// Takes a drag or drop of files as a copy, never as a move, so that no file manager removes what
// was dropped; a drag that offers no copy is refused. Returns whether it was taken.
bool AcceptAsCopy(QDropEvent* event);

// The path of a dropped local file or folder as the rest of the program writes paths: the
// system's separators (a Windows drop arrives as "C:/Users/..."), no trailing separator but a
// root's.
[[nodiscard]] std::string DroppedPath(const QUrl& url);

// Moves `dialog` (about to open) off the drop zone when the tile, which stays above every
// window, would cover it: below the tile, else above it, else beside it.
void KeepClearOfDropZone(QtUi& ui, QWidget* dialog);

// Escape closes the window, as its title bar's close button does (a password dialog runs
// nothing, the progress window cancels its run).
void CloseOnEscape(QWidget* window);

// Enter presses the focused push button, else `defaultButton()`, as in a dialog; a button that
// is hidden or disabled is not pressed.
void PressDefaultOnEnter(QWidget* window, std::function<QAbstractButton*()> defaultButton);

// Unloads every loaded window, each running its unload steps.
void UnloadAllWindows(QtUi& ui);

// Puts `text` into both password dialogs' delete-mode hints (creating the dialogs hidden).
void SetDeleteModeText(QtUi& ui, const std::string& text);

} // namespace vaultwing
