#pragma once
// Replacing a file so that it is never seen half-written: the new content goes to a temporary
// file beside it, is committed to disk and renamed over the old one. On every other way out the
// temporary file goes and the old file is as it was.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/platform.h"

namespace vaultwing {

// A temporary file in the folder of its destination, written piece by piece. Commit gives it the
// destination's name, which must still be free then: an output never replaces a file (a newer copy
// made meanwhile, say); commit fails with "file exists" instead. Destroyed uncommitted (or after a
// failed commit) it is removed. It is no more readable than `accessLike` (a source); given to
// another group than its source's, it gets no group access. Failures raise std::system_error.
class TempFileBeside {
public:
    [[nodiscard]] static TempFileBeside Create(const std::string& destination, const std::string& accessLike = {});

    TempFileBeside(TempFileBeside&& other) noexcept;
    TempFileBeside& operator=(TempFileBeside&&) = delete;
    TempFileBeside(const TempFileBeside&) = delete;
    TempFileBeside& operator=(const TempFileBeside&) = delete;
    ~TempFileBeside();

    void Write(const void* data, std::size_t size);
    // Commits what was written so far to disk; may run on another thread while Write goes on.
    void Sync();
    // Sync, close and rename to the destination's name.
    void Commit();

private:
    friend bool ReplaceFileContents(const std::string& path, std::string_view content);
    TempFileBeside(std::string destination, std::string path, platform::File file) noexcept;

    std::string destination_;
    std::string path_; // empty once there is nothing left to remove
    platform::File file_;
    bool replaces_ = false; // a whole-file replacement (settings), which keeps the old file's bits
};

// Replaces a small file (settings, favourites, desktop entries) whole, keeping its permission
// bits. False when the file could not be replaced; the old file is then as it was and no
// temporary file is left.
[[nodiscard]] bool ReplaceFileContents(const std::string& path, std::string_view content);

} // namespace vaultwing
