#pragma once
// The user-interface port on Qt: the core's requests become windows, message boxes and the
// event loop. Windows are created hidden when first touched (their load steps run then) and
// deleted when they unload; the next touch creates them again.
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/DesktopPort.h"
#include "config/ApplyLanguageTable.h"
#include "state/UiPort.h"

class QWidget;

namespace vaultwing {

class DropZoneWindow;
class EncryptPasswordDialog;
class DecryptPasswordDialog;
class ProgressWindow;
class LanguageWindow;
class SettingsWindow;
class FavouritesWindow;
class AboutWindow;

// The windows the drop zone's menu opens through the port.
enum class OtherWindow { Settings, Favourites, About };

// Runs a window's call into the core. An immediate end of the process has already happened (or,
// in tests, been recorded) when ProcessEnded arrives; it must not cross Qt's event dispatch.
template <typename F> void Guarded(F&& call) {
    try {
        call();
    } catch (const ProcessEnded&) {
    }
}

// Text from the program (lines joined by CR LF, or a lone CR from a language file) as Qt shows it.
[[nodiscard]] QString UiText(const std::string& text);

class QtUi final : public UiPort, public DesktopPort {
public:
    QtUi();
    ~QtUi() override;
    QtUi(const QtUi&) = delete;
    QtUi& operator=(const QtUi&) = delete;

    // The application the windows talk to; set once, before it starts.
    void Attach(Application& app) { app_ = &app; }
    [[nodiscard]] Application& App() { return *app_; }

    // --- Seams for the tests -----------------------------------------------------------------
    // Answers a message instead of a message box when it returns a value.
    std::function<std::optional<MsgAnswer>(const Message&)> messageHook;
    // Replaces the immediate end of the process (the core then stops through ProcessEnded).
    std::function<void()> endProcessHook;
    // Replaces leaving the event loop at the regular end.
    std::function<void()> quitHook;
    // Opens documents and web addresses instead of the desktop, when set.
    std::function<bool(const std::string&)> openDocumentHook;
    // Every message shown, in order.
    std::vector<Message> messages;
    [[nodiscard]] bool Quitting() const { return quitting_; }

    // --- The windows -------------------------------------------------------------------------
    DropZoneWindow& DropZone();
    EncryptPasswordDialog& EncryptDialog();
    DecryptPasswordDialog& DecryptDialog();
    ProgressWindow& Progress();
    LanguageWindow& Language();
    SettingsWindow& Settings();
    FavouritesWindow& Favourites();
    AboutWindow& About();
    [[nodiscard]] DropZoneWindow* DropZoneIfLoaded() const;
    [[nodiscard]] EncryptPasswordDialog* EncryptDialogIfLoaded() const;
    [[nodiscard]] DecryptPasswordDialog* DecryptDialogIfLoaded() const;
    [[nodiscard]] ProgressWindow* ProgressIfLoaded() const;
    [[nodiscard]] LanguageWindow* LanguageIfLoaded() const;
    [[nodiscard]] SettingsWindow* SettingsIfLoaded() const;
    [[nodiscard]] FavouritesWindow* FavouritesIfLoaded() const;
    [[nodiscard]] AboutWindow* AboutIfLoaded() const;

    // A window ran its unload steps: it is forgotten now and deleted once its event is done.
    void Unloaded(QWidget* window);
    // Unloads every loaded window (the drop zone first, as it starts the regular end).
    void UnloadAll();
    // Deletes every window without unload steps, while the application they talk to still
    // exists (the last step of the program, and of the port's life).
    void DeleteWindows();

    void OpenOtherWindow(OtherWindow window);
    // Re-labels the settings window's hot-region edges after a language change.
    void ShowHotRegionStatus();
    // The favourites window's list at the drop zone's load; true when it holds entries.
    bool LoadFavouritesList();

    // Opens a document or web address in the program the desktop uses for it.
    bool OpenDocument(const std::string& fileOrUrl);

    // Language text 150 as the last ApplyLanguage found it (the about window's credits line).
    [[nodiscard]] const std::string& MarqueeText() const { return marqueeText_; }

    // The progress window's Cancel button.
    void RequestCancel() { cancel_ = true; }

    // --- UiPort ------------------------------------------------------------------------------
    MsgAnswer ShowMessage(const Message& message) override;
    void ShowWarning(const Message& message) override;
    void LetEventsRun() override;
    void SetBusy(bool busy) override;
    void ProgressBegin(RunDirection direction, const std::string& caption) override;
    void ProgressShowFile(const std::string& fileName) override;
    void ProgressSetPercent(int percent) override;
    void ProgressHide() override;
    bool CancelRequested() override { return cancel_; }

    // --- DesktopPort -------------------------------------------------------------------------
    void ShowMainWindow() override;
    void HideMainWindow() override;
    bool MainWindowVisible() override;
    void ShowInTaskbar(bool show) override;
    void ShowTrayIcon(bool show) override;
    void ShowPasswordDialog(PasswordDialog dialog) override;
    void HidePasswordDialog(PasswordDialog dialog) override;
    void ClosePasswordDialog(PasswordDialog dialog) override;
    void ClearPasswordFields(PasswordDialog dialog) override;
    void SetDeleteModeText(const std::string& text) override;
    void ShowLanguageWindow() override;
    void ApplyLanguage() override;
    void CloseFavouritesWindowIfVisible() override;
    void EnableFavouritesCommands(bool enabled) override;
    void QuitApplication() override;
    void EndProcessNow() override;

private:
    void SetLanguageText(const LangTarget& target, const std::string& text);
    // The loaded window of that name (created hidden when missing); nullptr for a window this
    // program does not have yet.
    QWidget* WindowByName(std::string_view name);
    template <typename W> W& LoadWindow(QPointer<W>& slot);

    Application* app_ = nullptr;
    QPointer<DropZoneWindow> dropZone_;
    QPointer<EncryptPasswordDialog> encryptDialog_;
    QPointer<DecryptPasswordDialog> decryptDialog_;
    QPointer<ProgressWindow> progress_;
    QPointer<LanguageWindow> language_;
    QPointer<SettingsWindow> settings_;
    QPointer<FavouritesWindow> favourites_;
    QPointer<AboutWindow> about_;
    std::vector<QPointer<QWidget>> unloaded_; // deleted later, or at the latest with the port
    std::string marqueeText_;
    bool cancel_ = false;
    bool busy_ = false;
    bool quitting_ = false;
};

} // namespace vaultwing
