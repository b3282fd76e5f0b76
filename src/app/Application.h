#pragma once
// Everything the program is, minus its windows: created once by each front end (the desktop
// program, the command line, the tests) with its own user-interface port. The windows reach the
// core through the functions here.
#include <string>
#include <string_view>
#include <vector>

#include "app/DesktopPort.h"
#include "app/PasswordFlow.h"
#include "app/SettingsActions.h"
#include "app/Startup.h"
#include "favourites/FavouritesBatch.h"
#include "favourites/FavouritesList.h"
#include "files/JobLists.h"
#include "files/Runs.h"
#include "platform/CommandLine.h"
#include "state/AppState.h"
#include "state/UiPort.h"

namespace vaultwing {

class Application {
    NoDesktop noDesktop_; // first: the windowless constructor hands it on before the rest is made
    UiPort& ui_;
    DesktopPort& desktop_;

public:
    // The desktop program (and its tests): `ui` and `desktop` are usually one object.
    Application(const std::string& programFolder, UiPort& ui, DesktopPort& desktop, CommandLine commandLine = {})
        : Application(platform::FoldersIn(programFolder), ui, desktop, std::move(commandLine)) {}
    Application(platform::Folders folders, UiPort& ui, DesktopPort& desktop, CommandLine commandLine = {});
    // A program without windows (vaultwing).
    Application(platform::Folders folders, UiPort& ui) : Application(std::move(folders), ui, noDesktop_) {}
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Files and folders dropped on the drop zone, in the order the drop gives them, go into the
    // job lists, and each filled list opens its password dialog. Ignored while a run is active
    // (runs never nest, and the lists belong to the running one).
    void DropPaths(const std::vector<std::string>& paths);
    // The favourites commands of the drop zone's menu: one list from the favourites file, then
    // its dialog.
    void StartFavouritesBatch(RunDirection direction);

    // The start-up sequence (Startup::Run).
    void Start() { startup.Run(); }

    // The password dialogs (PasswordFlow).
    PasswordOutcome EncryptOk(std::string_view password, std::string_view repetition) {
        return passwords.EncryptOk(password, repetition);
    }
    PasswordOutcome DecryptOk(std::string_view password) { return passwords.DecryptOk(password); }
    void PasswordDialogUnloaded(PasswordDialog dialog) { passwords.DialogUnloaded(dialog); }
    [[nodiscard]] std::string QualityText(std::string_view password) const { return passwords.QualityText(password); }

    // The language window: an entry chosen in its list is loaded at once (ChooseLanguage).
    void ChooseLanguage(const std::string& name);
    // True when the loaded language file is one (its header line is there).
    [[nodiscard]] bool LanguageFileValid() const { return state.texts.HasValidHeader(); }
    // No language was chosen yet: the language window asks first.
    [[nodiscard]] bool FirstStart() const { return state.firstStart; }

    // The texts of the loaded language.
    [[nodiscard]] const std::string& Text(int index) const { return state.Text(index); }
    [[nodiscard]] const LangTable& Texts() const { return state.texts; }
    // True while a run works through a list (its events run in the middle of a file).
    [[nodiscard]] bool RunActive() const { return state.runActive; }
    // Where the program's files live, and VWX.ini.
    [[nodiscard]] const platform::Folders& Folders() const { return state.folders; }
    [[nodiscard]] Settings& StoredSettings() { return state.settings; }

    // The settings window's decisions; `hotRegionTimer` starts or stops the drop zone's timer.
    [[nodiscard]] SettingsActions MakeSettingsActions(std::function<void(bool)> hotRegionTimer) {
        return SettingsActions(state, desktop_, std::move(hotRegionTimer));
    }
    // The favourites window's list; it switches the drop zone's favourites commands.
    [[nodiscard]] FavouritesList MakeFavouritesList() {
        return FavouritesList(state, ui_, lists, [this](bool on) { desktop_.EnableFavouritesCommands(on); });
    }

    AppState state;
    JobLists lists;
    FavouritesBatch favouritesBatch;
    Runs runs;
    PasswordFlow passwords;
    Startup startup;

private:
    void OpenDialogsForLists();
};

} // namespace vaultwing
