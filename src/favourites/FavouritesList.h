#pragma once
// The favourites window's list without the window: loading and saving the favourites file,
// drops of files and folders with their duplicate checks, the switch between absolute and
// relative entries, and deleting entries. The list itself is AppState::favourites, kept
// sorted without regard to letter case.
#include <functional>
#include <string>
#include <vector>

#include "files/JobLists.h"
#include "state/AppState.h"
#include "state/UiPort.h"

namespace vaultwing {

class FavouritesList {
public:
    // `enableCommands` switches the drop zone's favourites commands on or off.
    FavouritesList(AppState& state, UiPort& ui, JobLists& lists, std::function<void(bool)> enableCommands)
        : state_(state), ui_(ui), lists_(lists), enableCommands_(std::move(enableCommands)),
          relative_(state.settings.IsOn(Setting::RelativePaths)) {}

    [[nodiscard]] const std::vector<std::string>& Entries() const { return state_.favourites; }
    // The path mode (Setting::RelativePaths): relative entries or entries as given.
    [[nodiscard]] bool Relative() const { return relative_; }

    // Reads the path mode and the favourites file; every line, an empty one too, is one entry. A file
    // that is there but cannot be read leaves the list empty, and the list is then never
    // saved, so that the user's file survives; a message says so, once in a run, and again at
    // the first drop into such a list.
    void Load();
    // Writes the list to the favourites file (an empty list deletes the file). False when
    // nothing was written.
    bool Save();

    // Files and folders dropped on the list, in the order the drop gives them. A folder adds
    // every file below it (a duplicate inside it is reported and skipped). A dropped path that
    // is already listed in any of its forms (with ".vwx", as it is, without its extension, and
    // the relative form of each) is reported and ends the drop; so does a failed conversion.
    // Afterwards the drop zone's favourites commands are enabled when the list holds entries.
    void Drop(const std::vector<std::string>& paths);

    // Converts every entry to the other path mode and switches the stored path mode. Every entry is
    // converted first; a failure shows its message, naming the entry, and changes nothing. Returns whether the
    // mode switched.
    bool SwitchPathMode();

    // Removes the entries whose index is in `selected`; an empty list then disables the drop
    // zone's favourites commands.
    void DeleteSelected(const std::vector<int>& selected);

private:
    [[nodiscard]] std::string RelativeForm(const std::string& path, bool rootCheck) const;
    [[nodiscard]] bool Listed(const std::string& text) const;
    void Add(const std::string& path);
    // Adds every file below `folder`; a file listed in either form is reported and skipped. May
    // throw the VwxError of a relative-path conversion.
    void AddFolder(const std::string& folder);
    // The message that the favourites file cannot be read, so the list cannot be saved.
    void ReportUnreadable();

    AppState& state_;
    UiPort& ui_;
    JobLists& lists_;
    std::function<void(bool)> enableCommands_;
    // The path mode as read when the list was made or last loaded (kept, so that a settings file
    // that cannot be written does not undo a switch that converted the entries).
    bool relative_;
    bool loadFailed_ = false;
    bool unsavableShown_ = false; // the message at a drop into a list that cannot be saved
};

} // namespace vaultwing
