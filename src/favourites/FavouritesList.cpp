#include "favourites/FavouritesList.h"

#include <algorithm>
#include <set>

#include "base/CaseFold.h"
#include "base/PathNames.h"
#include "base/Utf8.h"
#include "base/VwxError.h"
#include "config/LangIndices.h"
#include "favourites/FavouritesFile.h"
#include "favourites/RelativePaths.h"
#include "platform/Folders.h"
#include "platform/PathQueries.h"
#include "platform/platform.h"

namespace vaultwing {
namespace {

const std::string kSeparator(1, platform::kPathSeparator);

// An entry that names its file from a root: a drive ("C:\"), a network path ("\\server") or,
// on POSIX, "/". Such an entry must not be joined to the working directory again.
bool IsAbsoluteEntry(const std::string& entry) {
    if (!entry.empty() && (entry[0] == platform::kPathSeparator || entry[0] == '\\')) return true;
    return entry.size() >= 2 && entry[1] == ':';
}

void SortEntries(std::vector<std::string>& entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const std::string& a, const std::string& b) { return CompareIgnoringCase(a, b) < 0; });
}

} // namespace

void FavouritesList::Load() {
    relative_ = state_.settings.IsOn(Setting::RelativePaths);
    state_.favourites.clear();
    const auto lines = TryLoadFavourites(state_.folders.settings);
    loadFailed_ = !lines.has_value();
    if (!lines) {
        // Said once; the file is then left alone for the rest of the run.
        if (!state_.favouritesUnreadableShown) ReportUnreadable();
        return;
    }
    for (const std::string& line : *lines)
        InsertSorted(state_.favourites, line);
}

bool FavouritesList::Save() {
    if (loadFailed_) return false;
    std::vector<std::string> storable;
    for (const std::string& entry : state_.favourites)
        if (IsStorableFavourite(entry)) storable.push_back(entry);
    if (state_.folders.perUser) (void)platform::CreatePrivateFolder(state_.folders.settings);
    return SaveFavourites(state_.folders.settings, storable);
}

void FavouritesList::ReportUnreadable() {
    state_.favouritesUnreadableShown = true;
    ui_.ShowWarning(WarningMessage(state_, EscapeControlCharacters(FavouritesPath(state_.programFolder)) + kCrLf +
                                               kCrLf + state_.Text(lang::kFavouritesUnreadable)));
}

std::string FavouritesList::RelativeForm(const std::string& path, bool rootCheck) const {
    return MakeRelativePath(path, rootCheck, "", kSeparator, state_.texts);
}

bool FavouritesList::Listed(const std::string& text) const {
    return FindListEntry(state_.favourites, text).has_value();
}

void FavouritesList::Add(const std::string& path) {
    InsertSorted(state_.favourites, Relative() ? RelativeForm(path, true) : path);
}

void FavouritesList::AddFolder(const std::string& folder) {
    for (const std::string& file : lists_.WalkFolder(folder)) {
        const std::string relative = RelativeForm(file, false);
        if (Listed(file) || Listed(relative)) {
            ui_.ShowWarning(WarningMessage(state_, state_.Text(lang::kAlreadyFavourite)));
            continue;
        }
        Add(file);
    }
}

void FavouritesList::Drop(const std::vector<std::string>& paths) {
    // Entries can still be added and run, but the list they join cannot be saved: said before
    // the user relies on it.
    if (loadFailed_ && !unsavableShown_) {
        unsavableShown_ = true;
        ReportUnreadable();
    }
    try {
        for (const std::string& path : paths) {
            // A line break would split the entry in two in the favourites file.
            if (!IsStorableFavourite(path)) continue;
            const bool folder = IsDirectory(path);
            if (folder) {
                AddFolder(path);
                std::erase_if(state_.favourites, [](const std::string& e) { return !IsStorableFavourite(e); });
            }
            const std::string stripped = StripExtension(path);
            const bool duplicate = Listed(path + ".vwx") || Listed(path) || Listed(stripped) ||
                                   Listed(RelativeForm(path, false)) || Listed(RelativeForm(path + ".vwx", false)) ||
                                   Listed(RelativeForm(stripped, false));
            if (duplicate) {
                ui_.ShowWarning(WarningMessage(state_, state_.Text(lang::kAlreadyFavourite)));
                break;
            }
            if (!folder) Add(path);
        }
    } catch (const VwxError& error) {
        ui_.ShowWarning(WarningMessage(state_, error.Description()));
    }
    // Entries added before a stop stay, so the commands follow the list in every case.
    if (!state_.favourites.empty()) enableCommands_(true);
}

bool FavouritesList::SwitchPathMode() {
    const bool toRelative = !Relative();
    std::vector<std::string> converted = state_.favourites;
    std::string entry; // the one being converted
    try {
        for (auto it = converted.rbegin(); it != converted.rend(); ++it) {
            entry = *it;
            if (toRelative)
                *it = RelativeForm(*it, true);
            else if (!IsAbsoluteEntry(*it))
                *it = ResolvePath(*it, "", kSeparator, state_.texts);
        }
    } catch (const VwxError& error) {
        // Where paths have no drives, a differing root is a path that has no relative form at all.
        const bool noDrives = !platform::kWindows;
        const std::string text = noDrives && error.Number() == kErrRootMismatch
                                     ? state_.Text(lang::kNotRelativeToProgramFolder)
                                     : error.Description();
        ui_.ShowWarning(WarningMessage(state_, EscapeControlCharacters(entry) + kCrLf + kCrLf + text));
        return false;
    }
    SortEntries(converted);
    state_.favourites = std::move(converted);
    relative_ = toRelative;
    state_.settings.SetOn(Setting::RelativePaths, toRelative);
    return true;
}

void FavouritesList::DeleteSelected(const std::vector<int>& selected) {
    const std::set<int> chosen(selected.begin(), selected.end());
    for (int i = static_cast<int>(state_.favourites.size()) - 1; i >= 0; --i)
        if (chosen.count(i) != 0) state_.favourites.erase(state_.favourites.begin() + i);
    if (state_.favourites.empty()) enableCommands_(false);
}

} // namespace vaultwing
