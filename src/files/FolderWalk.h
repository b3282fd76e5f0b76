#pragma once
// The folder walk behind dropped folders, command-line folders and the favourites window.
#include <functional>
#include <string>
#include <vector>

namespace vaultwing {

// What a walk had to leave out: folders it could not list (their files are missing from the
// result), symbolic links that point nowhere and special files (FIFOs, sockets, devices), which
// are skipped without being opened.
struct WalkGaps {
    std::vector<std::string> unlistedFolders;
    std::vector<std::string> danglingLinks;
    std::vector<std::string> specialFiles;
};

// Appends every file below `folder` to `files`, depth-first: a sub-folder's files appear where
// its entry is met, between its parent's own files, in the order the directory lists them.
// Symbolic links to folders are never followed, so a link cycle cannot trap the walk. One folder
// is open at a time, however deep the tree. What cannot be listed is added to `gaps`.
// `perFolder` runs once for each folder searched (the windows let pending events run there).
// Returns the number of files this call added.
long ListFilesRecursive(const std::string& folder, std::vector<std::string>& files,
                        const std::function<void()>& perFolder = {}, WalkGaps* gaps = nullptr);

} // namespace vaultwing
