#include "files/JobLists.h"

#include <algorithm>
#include <set>

#include "base/PathNames.h"
#include "base/Utf8.h"
#include "config/LangIndices.h"
#include "files/FolderWalk.h"
#include "platform/PathQueries.h"
#include "platform/platform.h"

namespace vaultwing {
namespace {

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
    const std::int64_t limit = GetExtension(path) == "vwx" ? kMaxCipherLength : tea::kMaxPlainLength;
    if (FileLength(path) > limit) return FileTooLargeMessage(state, path);
    return std::nullopt;
}

std::optional<Message> JobLists::Refusal(const std::string& path) const {
    if (auto tooLarge = CheckTooLarge(state_, path)) return tooLarge;
    const bool folder = IsDirectory(path);
    if (FileLength(path) == 0 && !folder) return EmptyFileMessage(state_, path);
    if (state_.DeletesSources() && platform::FileInUse(path)) return FileInUseMessage(state_, path);
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
    ui_.ShowWarning(message);
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
    if (!text.empty()) ui_.ShowWarning(WarningMessage(state_, text));
}

// ---------------------------------------------------------------------------------------------
// Adding paths
// ---------------------------------------------------------------------------------------------

bool JobLists::AddPathToLists(const std::string& path) {
    if (NeverListed(path)) return true;
    if (const auto refusal = Refusal(path)) {
        Refuse(*refusal);
        return false;
    }
    Classify(path);
    return true;
}

std::vector<std::string> JobLists::WalkFolder(const std::string& folder) {
    std::vector<std::string> files;
    WalkGaps gaps;
    ui_.SetBusy(true);
    ui_.LetEventsRun();
    ListFilesRecursive(
        folder, files, [this] { ui_.LetEventsRun(); }, &gaps);
    ui_.SetBusy(false);
    ui_.LetEventsRun();
    ReportGaps(gaps);
    return files;
}

bool JobLists::AddFolderToLists(const std::string& folder) {
    for (const std::string& file : WalkFolder(folder)) {
        if (NeverListed(file)) continue;
        if (const auto refusal = Refusal(file)) {
            Refuse(*refusal);
            return false;
        }
        Classify(file);
    }
    return true;
}

} // namespace vaultwing
