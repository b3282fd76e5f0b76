#pragma once
// The terminal side of the user-interface port: messages and the progress bar on standard
// error, passwords asked on the terminal without echo.
#include <string>

#include "state/UiPort.h"

namespace vaultwing::cli {

class TerminalUi : public UiPort {
public:
    explicit TerminalUi(bool quiet);

    MsgAnswer ShowMessage(const Message& message) override;
    void DoEvents() override {}
    void SetBusy(bool) override {}
    void ProgressBegin(RunDirection direction, const std::string& caption) override;
    void ProgressShowFile(const std::string& fileName) override;
    void ProgressSetPercent(int percent) override;
    void ProgressHide() override;
    bool CancelRequested() override;
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
    void EndProcessNow() override;

private:
    void DrawBar();
    void EndBarLine();

    bool drawBar_;
    bool barOnScreen_ = false;
    std::string caption_;
    std::string fileName_;
    int percent_ = -1;
};

// Puts the program's line breaks (CR LF, or a lone CR from a language file) as terminal lines;
// every other control character (a file name's) is shown escaped.
[[nodiscard]] std::string TerminalLines(const std::string& text);

} // namespace vaultwing::cli
