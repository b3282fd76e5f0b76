#include "app/Application.h"

#include "app/LanguageChoice.h"
#include "base/PathNames.h"
#include "platform/PathQueries.h"

namespace vaultwing {

Application::Application(platform::Folders folders, UiPort& ui, DesktopPort& desktop, CommandLine commandLine)
    : ui_(ui), desktop_(desktop), state(std::move(folders)), lists(state, ui), favouritesBatch(state, ui, lists),
      runs(state, ui), passwords(state, ui, desktop, lists, runs),
      startup(state, ui, desktop, lists, std::move(commandLine)) {
    // After a run the drop zone loses the taskbar button a message gave it, and comes back when
    // the run was started from it.
    runs.runEnded = [this] {
        desktop_.ShowInTaskbar(false);
        if (state.runMode == RunMode::Interactive) desktop_.ShowMainWindow();
    };
}

void Application::ChooseLanguage(const std::string& name) {
    vaultwing::ChooseLanguage(state, name);
}

void Application::OpenDialogsForLists() {
    if (!lists.toDecrypt.empty()) {
        desktop_.HideMainWindow();
        desktop_.ShowPasswordDialog(PasswordDialog::Decrypt);
    }
    if (!lists.toEncrypt.empty()) {
        desktop_.HideMainWindow();
        desktop_.ShowPasswordDialog(PasswordDialog::Encrypt);
    }
}

void Application::DropPaths(const std::vector<std::string>& paths) {
    if (state.runActive) return;
    state.runMode = RunMode::Interactive;
    ShowDeleteModeHint(state, desktop_);
    // A refusal empties both lists, but the remaining items are still added.
    for (const std::string& item : paths) {
        if (IsDirectory(item)) lists.AddFolderToLists(item);
        (void)lists.AddPathToLists(item);
    }
    if (const auto refusal = lists.CollisionRefusal()) lists.Refuse(*refusal);
    OpenDialogsForLists();
}

void Application::StartFavouritesBatch(RunDirection direction) {
    if (state.runActive) return;
    ShowDeleteModeHint(state, desktop_);
    state.runMode = desktop_.MainWindowVisible() ? RunMode::Interactive : RunMode::HiddenFavourites;
    desktop_.CloseFavouritesWindowIfVisible();
    if (!favouritesBatch.Fill(direction)) return;
    if (desktop_.MainWindowVisible()) desktop_.HideMainWindow();
    desktop_.ShowPasswordDialog(direction == RunDirection::Encrypt ? PasswordDialog::Encrypt : PasswordDialog::Decrypt);
}

} // namespace vaultwing
