#pragma once
// The folder walk behind dropped folders, command-line folders and the favourites window.
#include <functional>
#include <string>
#include <vector>

namespace vaultwing {

// Appends every file below `folder` to `files`, depth-first: a sub-folder's files appear where
// its entry is met, between its parent's own files, in the order the directory lists them.
// Symbolic links to folders are never followed, so a link cycle cannot trap the walk. A folder
// that cannot be listed contributes nothing. `perFolder` runs once for each folder searched
// (the windows let pending events run there). Returns the number of files this call added.
long ListFilesRecursive(const std::string& folder, std::vector<std::string>& files,
                        const std::function<void()>& perFolder = {});

} // namespace vaultwing
