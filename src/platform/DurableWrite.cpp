#include "platform/DurableWrite.h"

#include <utility>

namespace vaultwing {

TempFileBeside TempFileBeside::Create(const std::string& destination, const std::string& accessLike) {
    std::string path;
    platform::File file = platform::File::CreateTempBeside(destination, path, accessLike);
    return TempFileBeside(destination, std::move(path), std::move(file));
}

TempFileBeside::TempFileBeside(std::string destination, std::string path, platform::File file) noexcept
    : destination_(std::move(destination)), path_(std::move(path)), file_(std::move(file)) {}

TempFileBeside::TempFileBeside(TempFileBeside&& other) noexcept
    : destination_(std::move(other.destination_)), path_(std::exchange(other.path_, {})), file_(std::move(other.file_)),
      replaces_(other.replaces_) {}

TempFileBeside::~TempFileBeside() {
    file_.Close();
    if (!path_.empty()) platform::RemoveFile(path_);
}

void TempFileBeside::Write(const void* data, std::size_t size) {
    if (size != 0) file_.Write(data, size);
}

void TempFileBeside::Sync() {
    file_.Sync();
}

void TempFileBeside::Commit() {
    file_.Sync();
    // Closed first: some systems refuse to rename a file that is still open.
    file_.Close();
    if (replaces_)
        platform::RenameReplace(path_, destination_);
    else
        platform::RenameNoReplace(path_, destination_);
    path_.clear();
}

bool ReplaceFileContents(const std::string& path, std::string_view content) {
    try {
        TempFileBeside temp = TempFileBeside::Create(path);
        temp.replaces_ = true;
        temp.Write(content.data(), content.size());
        temp.Commit();
        return true;
    } catch (const std::system_error&) {
        return false; // the temporary file went with `temp`
    }
}

} // namespace vaultwing
