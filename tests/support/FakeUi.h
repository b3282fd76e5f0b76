#pragma once
// A user-interface port that records what the core asked of it, for tests without a screen.
#include <functional>
#include <string>
#include <vector>

#include "state/UiPort.h"
#include "password/PasswordFlow.h"

namespace vaultwing::test {

class FakeUi : public UiPort {
public:
    // Everything that happened, one line each ("message: <text>", "dialog: encrypt", ...).
    std::vector<std::string> events;
    std::vector<Message> messages;
    std::vector<int> percents;
    std::vector<std::string> progressFiles;
    std::vector<PasswordDialog> dialogsShown;
    std::string deleteModeText;
    std::string progressCaption;
    RunDirection progressDirection = RunDirection::Encrypt;
    bool mainVisible = false;
    bool trayIcon = false;
    bool progressVisible = false;
    bool quit = false;
    bool ended = false;
    bool busy = false;
    bool taskbar = false;
    int doEvents = 0;
    bool favouritesCommandsEnabled = true;

    // Scripted behaviour.
    MsgAnswer nextAnswer = MsgAnswer::Ok;
    std::function<bool()> cancelWhen;       // asked by CancelRequested
    std::function<void()> onDoEvents;       // runs inside DoEvents (a click arriving mid-run)
    PasswordFlow* flow = nullptr;           // receives the unload of a closed dialog

    MsgAnswer ShowMessage(const Message& message) override {
        messages.push_back(message);
        events.push_back("message: " + message.text);
        return nextAnswer;
    }
    void DoEvents() override {
        ++doEvents;
        if (onDoEvents) onDoEvents();
    }
    void SetBusy(bool b) override { busy = b; }
    void ProgressBegin(RunDirection direction, const std::string& caption) override {
        progressDirection = direction;
        progressCaption = caption;
        events.push_back("progress: begin " + caption);
    }
    void ProgressShowFile(const std::string& fileName) override {
        progressVisible = true;
        progressFiles.push_back(fileName);
        events.push_back("progress: file " + fileName);
    }
    void ProgressSetPercent(int percent) override { percents.push_back(percent); }
    void ProgressHide() override {
        progressVisible = false;
        events.push_back("progress: hide");
    }
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
        events.push_back(dialog == PasswordDialog::Encrypt ? "dialog: encrypt" : "dialog: decrypt");
    }
    void HidePasswordDialog(PasswordDialog) override {}
    void ClosePasswordDialog(PasswordDialog dialog) override {
        events.push_back(dialog == PasswordDialog::Encrypt ? "close: encrypt" : "close: decrypt");
        if (flow != nullptr) flow->DialogUnloaded(dialog);
    }
    void ClearPasswordFields(PasswordDialog dialog) override {
        events.push_back(dialog == PasswordDialog::Encrypt ? "clear: encrypt" : "clear: decrypt");
    }
    void SetDeleteModeText(const std::string& text) override { deleteModeText = text; }
    void ShowLanguageWindow() override { events.push_back("language window"); }
    void ApplyLanguage() override { events.push_back("apply language"); }
    void CloseFavouritesWindowIfVisible() override { events.push_back("favourites window: close"); }
    void EnableFavouritesCommands(bool enabled) override { favouritesCommandsEnabled = enabled; }
    void QuitApplication() override {
        quit = true;
        events.push_back("quit");
    }
    void EndProcessNow() override {
        ended = true;
        events.push_back("end now");
        throw ProcessEnded{};
    }

    [[nodiscard]] bool Saw(const std::string& event) const {
        for (const auto& e : events)
            if (e == event) return true;
        return false;
    }
};

} // namespace vaultwing::test
