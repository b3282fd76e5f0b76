#pragma once
// A user-interface port and desktop that record what the core asked of them, for tests without a
// screen.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/DesktopPort.h"
#include "app/PasswordFlow.h"
#include "state/UiPort.h"

namespace vaultwing::test {

class FakeUi : public UiPort, public DesktopPort {
public:
    std::vector<std::string> events; // everything that happened: "message: <text>", "dialog: encrypt", ...
    std::vector<Message> messages;
    std::vector<int> percents;
    std::vector<PasswordDialog> dialogsShown;
    std::string deleteModeText;
    bool mainVisible = false, trayIcon = false, quit = false, taskbar = false, favouritesCommandsEnabled = true;
    std::function<bool()> cancelWhen;     // asked by CancelRequested
    std::function<void()> onLetEventsRun; // runs inside LetEventsRun (a click arriving mid-run)
    PasswordFlow* flow = nullptr;         // receives the unload of a closed dialog

    MsgAnswer ShowMessage(const Message& message) override {
        messages.push_back(message);
        Log("message: " + message.text);
        return MsgAnswer::Ok;
    }
    void LetEventsRun() override {
        if (onLetEventsRun) onLetEventsRun();
    }
    void ProgressBegin(RunDirection, const std::string& caption) override { Log("progress: " + caption); }
    void ProgressShowFile(const std::string& name) override { Log("progress: file " + name); }
    void ProgressSetPercent(int percent) override { percents.push_back(percent); }
    void ProgressHide() override { Log("progress: hide"); }
    bool CancelRequested() override { return cancelWhen && cancelWhen(); }
    void ShowMainWindow() override { Log("main: show", mainVisible, true); }
    void HideMainWindow() override { Log("main: hide", mainVisible, false); }
    bool MainWindowVisible() override { return mainVisible; }
    void ShowInTaskbar(bool show) override { taskbar = show; }
    void ShowTrayIcon(bool show) override { Log(show ? "tray: on" : "tray: off", trayIcon, show); }
    void ShowPasswordDialog(PasswordDialog dialog) override {
        dialogsShown.push_back(dialog);
        Log("dialog: " + Name(dialog));
    }
    void HidePasswordDialog(PasswordDialog) override {}
    void ClosePasswordDialog(PasswordDialog dialog) override {
        Log("close: " + Name(dialog));
        if (flow != nullptr) flow->DialogUnloaded(dialog);
    }
    void ClearPasswordFields(PasswordDialog dialog) override { Log("clear: " + Name(dialog)); }
    void SetDeleteModeText(const std::string& text) override { deleteModeText = text; }
    void ShowLanguageWindow() override { Log("language window"); }
    void ApplyLanguage() override { Log("apply language"); }
    void CloseFavouritesWindowIfVisible() override { Log("favourites window: close"); }
    void EnableFavouritesCommands(bool enabled) override { favouritesCommandsEnabled = enabled; }
    void QuitApplication() override { quit = true; }
    void EndProcessNow() override {
        Log("end now");
        throw ProcessEnded{};
    }

    [[nodiscard]] bool Saw(const std::string& event) const { return std::ranges::find(events, event) != events.end(); }

private:
    void Log(std::string event) { events.push_back(std::move(event)); }
    void Log(std::string event, bool& flag, bool value) {
        flag = value;
        Log(std::move(event));
    }
    static std::string Name(PasswordDialog dialog) { return dialog == PasswordDialog::Encrypt ? "encrypt" : "decrypt"; }
};

} // namespace vaultwing::test
