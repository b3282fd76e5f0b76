#include "files/SourceFiles.h"

#include "platform/platform.h"

namespace vaultwing {

bool ClearReadOnly(const std::string& path, const std::function<void()>& letEventsRun) {
    const auto attributes = platform::FileAttributes(path);
    if (!attributes) return false;
    if (const auto identity = platform::IdentifyFile(path); !identity || !identity->plainSingleName)
        return (*attributes & platform::kAttrReadOnly) == 0;
    // The outcome is judged by reading the attribute again, not by the result of the change.
    (void)platform::SetReadOnly(path, false);
    if (letEventsRun) letEventsRun();
    const auto after = platform::FileAttributes(path);
    return after && (*after & platform::kAttrReadOnly) == 0;
}

std::optional<std::string> DestroyProcessedSource(const std::string& source,
                                                  const std::optional<platform::FileIdentity>& read,
                                                  const std::string& output,
                                                  const std::function<void()>& letEventsRun) {
    const auto now = platform::IdentifyFile(source);
    if (!now) return std::nullopt; // removed meanwhile: nothing left to keep
    if (!now->plainSingleName) return "This is a link or a file with further names (hard links), so it was kept.";
    if (!read || now->device != read->device || now->number != read->number)
        return "This file was replaced while it was processed, so it was kept.";
    if (!platform::SyncFolderOf(output)) return "The new file could not be committed to disk, so this one was kept.";
    (void)ClearReadOnly(source, letEventsRun);
    if (!platform::DestroyFile(source, read)) return "This file could not be destroyed, so it was kept.";
    return std::nullopt;
}

} // namespace vaultwing
