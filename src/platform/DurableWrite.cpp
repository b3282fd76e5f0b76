#include "platform/DurableWrite.h"

#include "platform/platform.h"

namespace vaultwing {

bool ReplaceFileContents(const std::string& path, std::string_view content) {
    std::error_code ec;
    std::string tempPath;
    auto temp = platform::File::CreateTempBeside(path, tempPath, ec);
    if (!temp) return false;
    const bool written = temp->Write(content.data(), content.size(), ec) && temp->Sync(ec);
    temp->Close();
    if (!written || !platform::RenameReplace(tempPath, path, ec)) {
        platform::RemoveFile(tempPath);
        return false;
    }
    return true;
}

} // namespace vaultwing
