#pragma once
// The two job lists and how paths get into them: the path checks and the folder walk. Drops and
// the favourites batches fill them (app/, favourites/); which dialog a filled list opens is
// decided in app/.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cipher/Frame.h"
#include "platform/platform.h"
#include "state/AppState.h"
#include "state/Message.h"
#include "state/UiPort.h"

namespace vaultwing {

struct WalkGaps;

// Largest encrypted file this program can have written: the largest plaintext framed and padded.
inline constexpr auto kMaxCipherLength = static_cast<std::int64_t>(tea::FramedSize(tea::kMaxPlainLength));

// The messages of the path checks (title: the common warning title).
[[nodiscard]] Message FileTooLargeMessage(const AppState& state, const std::string& path);
[[nodiscard]] Message EmptyFileMessage(const AppState& state, const std::string& path);        // A
[[nodiscard]] Message FileInUseMessage(const AppState& state, const std::string& path);        // B
[[nodiscard]] Message OutputExistsMessage(const AppState& state, const std::string& existing); // C
[[nodiscard]] Message WarningMessage(const AppState& state, const std::string& text);

// The refusal a file gets before any other check: too large for the format. Folders pass.
[[nodiscard]] std::optional<Message> CheckTooLarge(const AppState& state, const std::string& path);

class JobLists {
public:
    JobLists(AppState& state, UiPort& ui) : state_(state), ui_(ui) {}

    std::vector<std::string> toEncrypt; // files to encrypt, in the order they were added
    std::vector<std::string> toDecrypt; // files to decrypt
    bool walkIncomplete = false;        // a walk could not list a folder or skipped a special file (and said so)

    // Runs the path checks on `path` and adds it to one list. A refusal shows its message,
    // empties both lists and returns false.
    [[nodiscard]] bool AddPathToLists(const std::string& path);

    // Walks `folder` and runs the path checks on every file found: a refusal shows its message,
    // empties both lists and ends the walk (returns false).
    bool AddFolderToLists(const std::string& folder);
    // The files below `folder`, walked with the busy cursor shown; what the walk had to leave out
    // is said in one warning.
    [[nodiscard]] std::vector<std::string> WalkFolder(const std::string& folder);

    // Ends the filling of the lists: a file listed twice (under any spelling: ./a, d/../a, a link
    // to its folder) stays listed once, and two jobs that would write the same output (b.vwx.vwx
    // and b, both to b.vwx) refuse the job with message C. Compared by what the file system says,
    // never by spelling. Holds with or without destroying the sources.
    [[nodiscard]] std::optional<Message> CollisionRefusal();

    // Files never to be listed (the password file of vaultwing), by identity; each one met is
    // noted in `leftOut`.
    std::vector<platform::FileIdentity> neverList;
    std::vector<std::string> leftOut;

    // The refusal, if any, of `path` by checks "too large", 1 (empty) to 4 (output name taken,
    // in both delete modes: an output never replaces a file).
    [[nodiscard]] std::optional<Message> Refusal(const std::string& path) const;
    // Adds a file to the list its extension names; a folder is not added.
    void Classify(const std::string& path);
    // True (and noted in `leftOut`) for a file never to be listed; checked before any other.
    [[nodiscard]] bool NeverListed(const std::string& path);

    void Clear() {
        toEncrypt.clear();
        toDecrypt.clear();
    }
    // Shows `message` and empties both lists.
    void Refuse(const Message& message);

private:
    void ReportGaps(const WalkGaps& gaps);

    AppState& state_;
    UiPort& ui_;
};

} // namespace vaultwing
