#include "files/FolderWalk.h"

#include <utility>

#include "platform/platform.h"

namespace vaultwing {

long ListFilesRecursive(const std::string& folder, std::vector<std::string>& files,
                        const std::function<void()>& perFolder, WalkGaps* gaps) {
    if (perFolder) perFolder();
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != platform::kPathSeparator) prefix.push_back(platform::kPathSeparator);

    // The entries are read first and the folder closed before any sub-folder is opened: a deep
    // tree must not run out of file descriptors.
    std::vector<std::pair<std::string, platform::EntryKind>> entries;
    if (!platform::EnumerateDirectory(
            prefix, [&](const platform::DirEntry& entry) { entries.emplace_back(entry.name, entry.kind); })) {
        if (gaps) gaps->unlistedFolders.push_back(folder);
        return 0;
    }
    long found = 0;
    // Sub-folders are walked where they are met, so the order of files stays the directory's.
    for (const auto& [name, kind] : entries) {
        switch (kind) {
        case platform::EntryKind::File:
            files.push_back(prefix + name);
            ++found;
            break;
        case platform::EntryKind::Directory:
            found += ListFilesRecursive(prefix + name, files, perFolder, gaps);
            break;
        case platform::EntryKind::DanglingLink:
            if (gaps) gaps->danglingLinks.push_back(prefix + name);
            break;
        case platform::EntryKind::Special:
            if (gaps) gaps->specialFiles.push_back(prefix + name);
            break;
        case platform::EntryKind::DirectoryLink:
            break;
        }
    }
    return found;
}

} // namespace vaultwing
