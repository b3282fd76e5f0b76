#include "files/JobLists.h"

#include <algorithm>
#include <set>

#include "base/PathNames.h"
#include "base/Utf8.h"
#include "config/LangIndices.h"
#include "favourites/CaseFold.h"
#include "favourites/FavouritesFile.h"
#include "favourites/RelativePaths.h"
#include "files/FileInUse.h"
#include "files/FolderWalk.h"
#include "platform/PathQueries.h"
#include "platform/platform.h"

namespace vaultwing {
namespace {

const std::string kSeparator(1, platform::kPathSeparator);

std::string PathAndText(const AppState& state, const std::string& path, int index) {
    return EscapeControlCharacters(path) + kCrLf + kCrLf + state.Text(index);
}

// No language file has texts for these (the files' indices are fixed), so they stay English.
constexpr const char* kFolderNotListed = "This folder could not be read: the files in it are left out.";
constexpr const char* kDanglingLinkSkipped = "This link points to nothing: skipped.";
constexpr const char* kSpecialFileSkipped = "This is not a regular file: skipped.";

} // namespace

// ---------------------------------------------------------------------------------------------
// Messages and single checks
// ---------------------------------------------------------------------------------------------

Message WarningMessage(const AppState& state, const std::string& text) {
    return Message{text, state.Text(lang::kWarningTitle), MsgIcon::Exclamation, MsgButtons::Ok};
}

Message FileTooLargeMessage(const AppState& state, const std::string& path) {
    return WarningMessage(state, PathAndText(state, path, lang::kFileTooLarge));
}

Message EmptyFileMessage(const AppState& state, const std::string& path) {
    return WarningMessage(state, PathAndText(state, path, lang::kFileEmpty));
}

Message FileInUseMessage(const AppState& state, const std::string& path) {
    return WarningMessage(state, PathAndText(state, path, lang::kFileInUse));
}

Message OutputExistsMessage(const AppState& state, const std::string& existing) {
    return WarningMessage(state, state.Text(lang::kOutputExists) + kCrLf + kCrLf + EscapeControlCharacters(existing) +
                                     kCrLf + kCrLf + state.Text(lang::kOutputExistsHint));
}

std::optional<Message> CheckTooLarge(const AppState& state, const std::string& path) {
    if (IsDirectory(path)) return std::nullopt;
    const std::int64_t limit = GetExtension(path) == "vwx" ? kMaxCipherLength : kMaxPlainLength;
    if (FileLength(path) > limit) return FileTooLargeMessage(state, path);
    return std::nullopt;
}

std::optional<Message> JobLists::Refusal(const std::string& path) const {
    if (auto tooLarge = CheckTooLarge(state_, path)) return tooLarge;
    const bool folder = IsDirectory(path);
    if (FileLength(path) == 0 && !folder) return EmptyFileMessage(state_, path);
    if (state_.deleteSources && FileInUse(path)) return FileInUseMessage(state_, path);
    if (folder) return std::nullopt; // a folder has no output of its own: its files are checked
    // The output a run would write must not exist, whether or not the sources are destroyed:
    // it may be a newer copy (an edited a beside an old a.vwx), or another file's only copy.
    // The name a decryption of this path would write...
    const std::string plain = StripExtension(path);
    if (path.find('.') != std::string::npos && FileExists(plain) && !IsDirectory(plain))
        return OutputExistsMessage(state_, plain);
    // ...and the name an encryption would write.
    if (FileExists(path + ".vwx")) return OutputExistsMessage(state_, path + ".vwx");
    return std::nullopt;
}

bool JobLists::NeverListed(const std::string& path) {
    if (neverList.empty()) return false;
    const auto identity = platform::IdentifyFile(path);
    if (!identity || std::find(neverList.begin(), neverList.end(), *identity) == neverList.end()) return false;
    leftOut.push_back(path);
    return true;
}

void JobLists::Classify(const std::string& path) {
    if (IsDirectory(path)) return; // a folder named .vwx is walked like any other
    (GetExtension(path) == "vwx" ? toDecrypt : toEncrypt).push_back(path);
}

void JobLists::Refuse(const Message& message) {
    ShowWarning(ui_, message);
    Clear();
}

std::optional<Message> JobLists::CollisionRefusal() {
    // One file named twice is one job.
    std::set<platform::FileIdentity> seen;
    const auto once = [&seen](std::vector<std::string>& list) {
        std::erase_if(list, [&seen](const std::string& path) {
            const auto identity = platform::IdentifyFile(path);
            return identity && !seen.insert(*identity).second;
        });
    };
    once(toDecrypt);
    once(toEncrypt);

    // No two outputs may be one folder entry. (An output that is another job's input exists, and
    // an output that exists is refused earlier, file by file.)
    std::set<platform::EntryIdentity> outputs;
    const auto claim = [&outputs](const std::string& path) {
        const auto entry = platform::IdentifyEntry(path);
        return !entry || outputs.insert(*entry).second;
    };
    for (const std::string& input : toDecrypt)
        if (!claim(StripExtension(input))) return OutputExistsMessage(state_, StripExtension(input));
    for (const std::string& input : toEncrypt)
        if (!claim(input + ".vwx")) return OutputExistsMessage(state_, input + ".vwx");
    return std::nullopt;
}

// One warning for everything a walk left out, so that nothing is lost without a word.
void JobLists::ReportGaps(const WalkGaps& gaps) {
    std::string text;
    const auto add = [&text](const std::string& path, const char* note) {
        if (!text.empty()) text.append(kCrLf).append(kCrLf);
        text.append(EscapeControlCharacters(path)).append(kCrLf).append(note);
    };
    for (const auto& folder : gaps.unlistedFolders)
        add(folder, kFolderNotListed);
    for (const auto& link : gaps.danglingLinks)
        add(link, kDanglingLinkSkipped);
    for (const auto& special : gaps.specialFiles)
        add(special, kSpecialFileSkipped);
    if (!gaps.unlistedFolders.empty() || !gaps.specialFiles.empty()) walkIncomplete = true;
    if (!text.empty()) ShowWarning(ui_, WarningMessage(state_, text));
}

// ---------------------------------------------------------------------------------------------
// Adding paths
// ---------------------------------------------------------------------------------------------

bool JobLists::AddPathToLists() {
    if (NeverListed(state_.currentPath)) return true;
    if (const auto refusal = Refusal(state_.currentPath)) {
        AddAborted = true;
        Refuse(*refusal);
        return false;
    }
    Classify(state_.currentPath);
    return true;
}

bool JobLists::AddFolderToLists(const std::string& folder, FolderMode mode) {
    std::vector<std::string> files;
    WalkGaps gaps;
    ui_.SetBusy(true);
    ui_.DoEvents();
    ListFilesRecursive(
        folder, files, [this] { ui_.DoEvents(); }, &gaps);
    ui_.SetBusy(false);
    ui_.DoEvents();
    ReportGaps(gaps);

    for (const std::string& file : files) {
        if (mode == FolderMode::JobLists) {
            if (NeverListed(file)) continue;
            if (const auto refusal = Refusal(file)) {
                Refuse(*refusal);
                return false;
            }
            Classify(file);
        } else {
            AddFavourite(file);
        }
    }
    return true;
}

void JobLists::AddFavourite(const std::string& file) {
    auto& favourites = state_.favourites;
    const std::string relative = MakeRelativePath(file, false, "", kSeparator, state_.texts);
    if (FindListEntry(favourites, file) || FindListEntry(favourites, relative)) {
        ShowWarning(ui_, WarningMessage(state_, state_.Text(lang::kAlreadyFavourite)));
        return;
    }
    InsertSorted(favourites, state_.pathMode == PathMode::Relative
                                 ? MakeRelativePath(file, true, "", kSeparator, state_.texts)
                                 : file);
}

// ---------------------------------------------------------------------------------------------
// Drops and favourites batches
// ---------------------------------------------------------------------------------------------

void JobLists::OpenDialogsForLists() {
    if (!toDecrypt.empty()) {
        ui_.HideMainWindow();
        ui_.ShowPasswordDialog(PasswordDialog::Decrypt);
    }
    if (!toEncrypt.empty()) {
        ui_.HideMainWindow();
        ui_.ShowPasswordDialog(PasswordDialog::Encrypt);
    }
}

void JobLists::DropPaths(const std::vector<std::string>& paths) {
    if (state_.runActive) return;
    state_.runMode = RunMode::Interactive;
    RefreshDeleteMode();
    // A refusal empties both lists, but the remaining items are still added.
    for (const std::string& item : paths) {
        state_.currentPath = item;
        if (IsDirectory(item)) AddFolderToLists(item, FolderMode::JobLists);
        AddPathToLists();
    }
    if (const auto refusal = CollisionRefusal()) Refuse(*refusal);
    OpenDialogsForLists();
}

void JobLists::StartFavouritesBatch(RunDirection direction) {
    if (state_.runActive) return;
    RefreshDeleteMode();
    state_.runMode = ui_.MainWindowVisible() ? RunMode::Interactive : RunMode::HiddenFavourites;
    ui_.CloseFavouritesWindowIfVisible();
    if (direction == RunDirection::Encrypt) {
        toEncrypt.clear();
        CollectFavouritesToEncrypt();
    } else {
        toDecrypt.clear();
        CollectFavouritesToDecrypt();
    }
}

void JobLists::CollectFavouritesToEncrypt() {
    // Only this batch's own refusals count (a refused drop before it must not block it).
    AddAborted = false;
    for (const std::string& entry : LoadFavourites(state_.folders.settings)) {
        state_.currentPath = entry;
        // An entry may name the encrypted form while the plain file exists; "app.exe.manifest"
        // must not turn into "app.exe".
        if (GetExtension(entry) != "manifest" && FileExists(StripExtension(entry)))
            state_.currentPath = StripExtension(entry);
        if (GetExtension(state_.currentPath) != "vwx" && FileExists(state_.currentPath)) AddPathToLists();
    }
    if (AddAborted) {
        Clear();
        AddAborted = false;
        return;
    }
    if (const auto refusal = CollisionRefusal()) { // one file listed in two spellings is one job
        Refuse(*refusal);
        return;
    }
    if (!toEncrypt.empty()) {
        if (ui_.MainWindowVisible()) ui_.HideMainWindow();
        ui_.ShowPasswordDialog(PasswordDialog::Encrypt);
    } else {
        ShowWarning(ui_, WarningMessage(state_, state_.Text(lang::kNothingToEncrypt)));
    }
}

void JobLists::CollectFavouritesToDecrypt() {
    AddAborted = false;
    for (const std::string& entry : LoadFavourites(state_.folders.settings)) {
        state_.currentPath = entry;
        if (GetExtension(entry) == "vwx" && FileExists(entry)) AddPathToLists();
        if (FileExists(entry + ".vwx")) {
            state_.currentPath = entry + ".vwx";
            AddPathToLists();
        }
    }
    if (AddAborted) {
        Clear();
        AddAborted = false;
        return;
    }
    if (const auto refusal = CollisionRefusal()) { // one file listed in two spellings is one job
        Refuse(*refusal);
        return;
    }
    if (!toDecrypt.empty()) {
        if (ui_.MainWindowVisible()) ui_.HideMainWindow();
        ui_.ShowPasswordDialog(PasswordDialog::Decrypt);
    } else {
        ShowWarning(ui_, WarningMessage(state_, state_.Text(lang::kNothingToDecrypt)));
    }
}

void JobLists::RefreshDeleteMode() {
    state_.deleteSources = state_.settings.IsOn(Setting::DeleteSources);
    ui_.SetDeleteModeText(state_.Text(state_.deleteSources ? lang::kDeleteModeOn : lang::kDeleteModeOff));
}

void JobLists::SetDeleteMode(bool on) {
    state_.deleteSources = on;
    ui_.SetDeleteModeText(state_.Text(on ? lang::kDeleteModeOn : lang::kDeleteModeOff));
    state_.settings.SetOn(Setting::DeleteSources, on);
}

} // namespace vaultwing
