#pragma once
// A user-interface port that records what the core asked of it, for tests without a screen.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "password/PasswordFlow.h"
#include "state/UiPort.h"

namespace vaultwing::test {

class FakeUi : public UiPort {
public:
    // Everything that happened, one line each ("message: <text>", "dialog: encrypt", ...).
    std::vector<std::string> events;
    std::vector<Message> messages;
    std::vector<int> percents;
    std::vector<PasswordDialog> dialogsShown;
    std::string deleteModeText;
    bool mainVisible = false;
    bool trayIcon = false;
    bool quit = false;
    bool favouritesCommandsEnabled = true;
    bool taskbar = false;

    std::function<bool()> cancelWhen; // asked by CancelRequested
    std::function<void()> onDoEvents; // runs inside DoEvents (a click arriving mid-run)
    PasswordFlow* flow = nullptr;     // receives the unload of a closed dialog

    MsgAnswer ShowMessage(const Message& message) override {
        messages.push_back(message);
        events.push_back("message: " + message.text);
        return MsgAnswer::Ok;
    }
    void DoEvents() override {
        if (onDoEvents) onDoEvents();
    }
    void SetBusy(bool) override {}
    void ProgressBegin(RunDirection, const std::string& caption) override { events.push_back("progress: " + caption); }
    void ProgressShowFile(const std::string& name) override { events.push_back("progress: file " + name); }
    void ProgressSetPercent(int percent) override { percents.push_back(percent); }
    void ProgressHide() override { events.push_back("progress: hide"); }
    bool CancelRequested() override { return cancelWhen && cancelWhen(); }
    void ShowMainWindow() override {
        mainVisible = true;
        events.push_back("main: show");
    }
    void HideMainWindow() override {
        mainVisible = false;
        events.push_back("main: hide");
    }
    bool MainWindowVisible() override { return mainVisible; }
    void ShowInTaskbar(bool show) override { taskbar = show; }
    void ShowTrayIcon(bool show) override {
        trayIcon = show;
        events.push_back(show ? "tray: on" : "tray: off");
    }
    void ShowPasswordDialog(PasswordDialog dialog) override {
        dialogsShown.push_back(dialog);
        events.push_back("dialog: " + Name(dialog));
    }
    void HidePasswordDialog(PasswordDialog) override {}
    void ClosePasswordDialog(PasswordDialog dialog) override {
        events.push_back("close: " + Name(dialog));
        if (flow != nullptr) flow->DialogUnloaded(dialog);
    }
    void ClearPasswordFields(PasswordDialog dialog) override { events.push_back("clear: " + Name(dialog)); }
    void SetDeleteModeText(const std::string& text) override { deleteModeText = text; }
    void ShowLanguageWindow() override { events.push_back("language window"); }
    void ApplyLanguage() override { events.push_back("apply language"); }
    void CloseFavouritesWindowIfVisible() override { events.push_back("favourites window: close"); }
    void EnableFavouritesCommands(bool enabled) override { favouritesCommandsEnabled = enabled; }
    void QuitApplication() override { quit = true; }
    void EndProcessNow() override {
        events.push_back("end now");
        throw ProcessEnded{};
    }

    [[nodiscard]] bool Saw(const std::string& event) const {
        return std::find(events.begin(), events.end(), event) != events.end();
    }

private:
    static std::string Name(PasswordDialog dialog) { return dialog == PasswordDialog::Encrypt ? "encrypt" : "decrypt"; }
};

} // namespace vaultwing::test
