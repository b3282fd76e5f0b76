#pragma once
// The narrow interface through which the core talks back to whoever shows the program: the
// desktop windows (VWX), the terminal (vaultwing) or the recording fake of the tests.
#include <string>

#include "state/Message.h"

namespace vaultwing {

enum class RunDirection { Encrypt, Decrypt };
enum class PasswordDialog { Encrypt /* EncryptPasswordDialog */, Decrypt /* DecryptPasswordDialog */ };

// Thrown by the core after UiPort::EndProcessNow() in case the port returned (the test fake
// does): nothing after an immediate end may run.
struct ProcessEnded {};

class UiPort {
public:
    virtual ~UiPort() = default;

    // A message box; returns the button the user chose.
    virtual MsgAnswer ShowMessage(const Message& message) = 0;
    // Let pending window events run (repaint, clicks) in the middle of long work.
    virtual void DoEvents() = 0;
    // The hourglass pointer during a folder walk.
    virtual void SetBusy(bool busy) = 0;

    // The progress window.
    virtual void ProgressBegin(RunDirection direction, const std::string& caption) = 0; // colour + caption
    virtual void ProgressShowFile(const std::string& fileName) = 0; // show the window with this name
    virtual void ProgressSetPercent(int percent) = 0;
    virtual void ProgressHide() = 0;
    // True once the user asked to cancel the running file; cleared when a run begins.
    [[nodiscard]] virtual bool CancelRequested() = 0;

    // The drop zone.
    virtual void ShowMainWindow() = 0;
    virtual void HideMainWindow() = 0;
    [[nodiscard]] virtual bool MainWindowVisible() = 0;
    // Gives the drop zone a taskbar button or takes it away (so a message has a taskbar entry).
    virtual void ShowInTaskbar(bool show) = 0;
    virtual void ShowTrayIcon(bool show) = 0;

    // Other windows.
    virtual void ShowPasswordDialog(PasswordDialog dialog) = 0;
    virtual void HidePasswordDialog(PasswordDialog dialog) = 0;
    // Unloads the dialog; its unload steps call PasswordFlow::DialogUnloaded.
    virtual void ClosePasswordDialog(PasswordDialog dialog) = 0;
    // Empties the dialog's password fields and puts the focus into the first one.
    virtual void ClearPasswordFields(PasswordDialog dialog) = 0;
    virtual void SetDeleteModeText(const std::string& text) = 0;
    virtual void ShowLanguageWindow() = 0;
    // Puts the language texts into every window (creating them hidden, running their load steps).
    virtual void ApplyLanguage() = 0;
    // Closes the favourites window if it is shown, so that its list is saved to the file.
    virtual void CloseFavouritesWindowIfVisible() = 0;
    // The favourites commands of the drop zone's menu.
    virtual void EnableFavouritesCommands(bool enabled) = 0;

    // Unloads every window and ends the program normally.
    virtual void QuitApplication() = 0;
    // Ends the process at once: no unload steps, nothing saved. Does not return in the programs.
    virtual void EndProcessNow() = 0;
};

// A warning from the core: the drop zone gets a taskbar button for the time of the message, so
// that the message has a taskbar entry while the drop zone has none.
inline void ShowWarning(UiPort& ui, const Message& message) {
    ui.ShowInTaskbar(true);
    ui.ShowMessage(message);
    ui.ShowInTaskbar(false);
}

} // namespace vaultwing
