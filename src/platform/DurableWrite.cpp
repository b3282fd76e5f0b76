#include "platform/DurableWrite.h"

#include <utility>

namespace vaultwing {

std::optional<TempFileBeside> TempFileBeside::Create(const std::string& destination, std::error_code& ec,
                                                     const std::string& accessLike) {
    std::string path;
    auto file = platform::File::CreateTempBeside(destination, path, ec, accessLike);
    if (!file) return std::nullopt;
    return TempFileBeside(destination, std::move(path), std::move(*file));
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

bool TempFileBeside::Write(const void* data, std::size_t size, std::error_code& ec) {
    return size == 0 || file_.Write(data, size, ec);
}

bool TempFileBeside::Sync(std::error_code& ec) {
    return file_.Sync(ec);
}

bool TempFileBeside::Commit(std::error_code& ec) {
    if (!file_.Sync(ec)) return false;
    // Closed first: some systems refuse to rename a file that is still open.
    file_.Close();
    if (!(replaces_ ? platform::RenameReplace(path_, destination_, ec)
                    : platform::RenameNoReplace(path_, destination_, ec)))
        return false;
    path_.clear();
    return true;
}

bool ReplaceFileContents(const std::string& path, std::string_view content) {
    std::error_code ec;
    auto temp = TempFileBeside::Create(path, ec);
    if (temp) temp->replaces_ = true;
    return temp && temp->Write(content.data(), content.size(), ec) && temp->Commit(ec);
}

} // namespace vaultwing
