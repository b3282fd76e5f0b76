#include "app/Startup.h"

#include "app/LanguageChoice.h"
#include "base/PathNames.h"
#include "config/LanguageFile.h"
#include "files/FileInUse.h"
#include "platform/PathQueries.h"
#include "platform/platform.h"

namespace vaultwing {

Startup::Startup(AppState& state, UiPort& ui, JobLists& lists, CommandLine commandLine)
    : queryOsVersion(platform::QueryOsVersion), state_(state), ui_(ui), lists_(lists),
      commandLine_(std::move(commandLine)) {}

void Startup::EndNow() {
    ui_.EndProcessNow();
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

void Startup::Main() {
    const Settings& settings = state_.settings;
    state_.deleteSources = settings.IsOn(Setting::DeleteSources);

    const int code = OperatingSystemCode();
    state_.osName = OsName(code);
    if (code < kFirstSupportedOsCode) {
        ShowUnsupportedOS();
        return;
    }

    state_.pathMode = settings.IsOn(Setting::RelativePaths) ? PathMode::Relative : PathMode::Absolute;

    state_.language = settings.Text(Setting::Language);
    if (state_.language.empty()) {
        // First start: the language window asks, and calls Main again once confirmed.
        state_.firstStart = true;
        ui_.ShowLanguageWindow();
        return;
    }
    state_.firstStart = false;
    // A missing file leaves the built-in English texts where it has none; nothing is reported here.
    (void)LoadLanguage(LanguageFilePath(state_, state_.language), state_.texts);
    ui_.ApplyLanguage();

    if (commandLine_.present) {
        state_.runMode = RunMode::CommandLine;
        // The dialogs' delete-mode hint, now that the language table is loaded.
        lists_.RefreshDeleteMode();
        if (SortCommandLinePaths(commandLine_.paths).refused) {
            EndNow();
            return;
        }
        // Both lists may be filled: decryption comes first, and its dialog offers the
        // encryption list afterwards (see PasswordFlow).
        if (!lists_.toDecrypt.empty())
            ui_.ShowPasswordDialog(PasswordDialog::Decrypt);
        else if (!lists_.toEncrypt.empty())
            ui_.ShowPasswordDialog(PasswordDialog::Encrypt);
        else
            EndNow();
        return;
    }

    state_.runMode = RunMode::Interactive;
    ui_.ShowTrayIcon(true);
    ui_.ShowMainWindow();
}

CommandLineSort Startup::SortCommandLinePaths(const std::vector<std::string>& paths) {
    CommandLineSort result;
    const auto refuse = [&](const Message& message) {
        ShowWarning(ui_, message);
        result.refused = true;
        return result;
    };
    for (const std::string& path : paths) {
        if (lists_.NeverListed(path)) continue;
        if (auto refusal = lists_.Refusal(path)) return refuse(*refusal);
        if (IsDirectory(path) && !lists_.AddFolderToLists(path, FolderMode::JobLists)) result.walkRefused = true;
        lists_.Classify(path);
    }
    if (const auto pair = lists_.CollisionRefusal()) {
        lists_.Clear();
        return refuse(*pair);
    }
    return result;
}

} // namespace vaultwing
