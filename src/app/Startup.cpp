#include "app/Startup.h"

#include "app/LanguageChoice.h"
#include "app/SettingsActions.h"
#include "base/PathNames.h"
#include "config/LanguageFile.h"
#include "platform/PathQueries.h"
#include "platform/platform.h"

namespace vaultwing {

Startup::Startup(AppState& state, UiPort& ui, DesktopPort& desktop, JobLists& lists, CommandLine commandLine)
    : queryOsVersion(platform::QueryOsVersion), state_(state), ui_(ui), desktop_(desktop), lists_(lists),
      commandLine_(std::move(commandLine)) {}

void Startup::EndNow() {
    desktop_.EndProcessNow();
    throw ProcessEnded{};
}

int Startup::OperatingSystemCode() {
    if (osKnown_) return osCode_;
    const OsVersionDecision decision = DecideOsVersion(queryOsVersion());
    if (decision.showQueryFailure)
        ui_.ShowMessage(Message{OsQueryFailedText(), kOsMessageTitle, MsgIcon::Critical, MsgButtons::Ok});
    osKnown_ = decision.known;
    osCode_ = decision.code;
    return decision.code;
}

void Startup::ShowUnsupportedOS() {
    ui_.ShowMessage(Message{UnsupportedOsText(state_.osName), kOsMessageTitle, MsgIcon::Critical, MsgButtons::Ok});
    EndNow();
}

void Startup::Run() {
    const Settings& settings = state_.settings;

    const int code = OperatingSystemCode();
    state_.osName = OsName(code);
    if (code < kFirstSupportedOsCode) {
        ShowUnsupportedOS();
        return;
    }

    const std::string language = settings.Text(Setting::Language);
    if (language.empty()) {
        // First start: the language window asks, and calls Run again once confirmed.
        state_.firstStart = true;
        desktop_.ShowLanguageWindow();
        return;
    }
    state_.firstStart = false;
    // A missing file leaves the built-in English texts where it has none; nothing is reported here.
    (void)LoadLanguage(LanguageFilePath(state_, language), state_.texts);
    desktop_.ApplyLanguage();

    if (commandLine_.present) {
        state_.runMode = RunMode::CommandLine;
        // The dialogs' delete-mode hint, now that the language table is loaded.
        ShowDeleteModeHint(state_, desktop_);
        if (SortCommandLinePaths(commandLine_.paths).refused) {
            EndNow();
            return;
        }
        // Both lists may be filled: decryption comes first, and its dialog offers the
        // encryption list afterwards (see PasswordFlow).
        if (!lists_.toDecrypt.empty())
            desktop_.ShowPasswordDialog(PasswordDialog::Decrypt);
        else if (!lists_.toEncrypt.empty())
            desktop_.ShowPasswordDialog(PasswordDialog::Encrypt);
        else
            EndNow();
        return;
    }

    state_.runMode = RunMode::Interactive;
    desktop_.ShowTrayIcon(true);
    desktop_.ShowMainWindow();
}

CommandLineSort Startup::SortCommandLinePaths(const std::vector<std::string>& paths) {
    CommandLineSort result;
    const auto refuse = [&](const Message& message) {
        ui_.ShowWarning(message);
        result.refused = true;
        return result;
    };
    for (const std::string& path : paths) {
        if (lists_.NeverListed(path)) continue;
        if (auto refusal = lists_.Refusal(path)) return refuse(*refusal);
        if (IsDirectory(path) && !lists_.AddFolderToLists(path)) result.walkRefused = true;
        lists_.Classify(path);
    }
    if (const auto pair = lists_.CollisionRefusal()) {
        lists_.Clear();
        return refuse(*pair);
    }
    return result;
}

} // namespace vaultwing
