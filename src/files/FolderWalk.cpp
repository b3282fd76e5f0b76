#include "files/FolderWalk.h"

#include "platform/platform.h"

namespace vaultwing {

long ListFilesRecursive(const std::string& folder, std::vector<std::string>& files,
                        const std::function<void()>& perFolder) {
    if (perFolder) perFolder();
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != platform::kPathSeparator) prefix.push_back(platform::kPathSeparator);

    long found = 0;
    // Sub-folders are walked where they are met, so the order of files stays the directory's.
    const bool listed = platform::EnumerateDirectory(prefix, [&](const platform::DirEntry& entry) {
        switch (entry.kind) {
        case platform::EntryKind::File:
            files.emplace_back(prefix).append(entry.name);
            ++found;
            break;
        case platform::EntryKind::Directory:
            found += ListFilesRecursive(prefix + std::string(entry.name), files, perFolder);
            break;
        case platform::EntryKind::DirectoryLink:
            break;
        }
    });
    return listed ? found : 0;
}

} // namespace vaultwing
