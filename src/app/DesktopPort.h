#pragma once
// What the desktop program has beyond messages and progress (state/UiPort.h): the drop zone,
// its taskbar button and tray icon, the password dialogs and the other windows. The core's
// start-up, drop and dialog flows in app/ talk to it; the files and password layers never do.
#include <string>

namespace vaultwing {

enum class PasswordDialog { Encrypt /* EncryptPasswordDialog */, Decrypt /* DecryptPasswordDialog */ };

// Thrown by the core after DesktopPort::EndProcessNow() in case the port returned (the test fake
// does): nothing after an immediate end may run.
struct ProcessEnded {};

class DesktopPort {
public:
    virtual ~DesktopPort() = default;

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

// The desktop of a program that has none (vaultwing): there is no window to show, hide or fill.
class NoDesktop final : public DesktopPort {
public:
    void ShowMainWindow() override {}
    void HideMainWindow() override {}
    bool MainWindowVisible() override { return false; }
    void ShowInTaskbar(bool) override {}
    void ShowTrayIcon(bool) override {}
    void ShowPasswordDialog(PasswordDialog) override {}
    void HidePasswordDialog(PasswordDialog) override {}
    void ClosePasswordDialog(PasswordDialog) override {}
    void ClearPasswordFields(PasswordDialog) override {}
    void SetDeleteModeText(const std::string&) override {}
    void ShowLanguageWindow() override {}
    void ApplyLanguage() override {}
    void CloseFavouritesWindowIfVisible() override {}
    void EnableFavouritesCommands(bool) override {}
    void QuitApplication() override {}
    void EndProcessNow() override {} // the caller throws ProcessEnded
};

} // namespace vaultwing
