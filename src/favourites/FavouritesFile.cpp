#include "favourites/FavouritesFile.h"

#include <system_error>

#include "platform/DurableWrite.h"
#include "platform/platform.h"

namespace vaultwing {
namespace {

// Only a plain file counts; a hidden or system file of that name is treated as missing.
bool IsPlainFile(const std::string& path) {
    const auto attrs = platform::FileAttributes(path);
    return attrs && (*attrs & (platform::kAttrDirectory | platform::kAttrHidden | platform::kAttrSystem)) == 0;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

} // namespace

std::string FavouritesPath(const std::string& folder) {
    if (folder.empty()) return kFavouritesFileName;
    const bool endsWithSeparator = folder.back() == platform::kPathSeparator || folder.back() == '/';
    return endsWithSeparator ? folder + kFavouritesFileName : folder + platform::kPathSeparator + kFavouritesFileName;
}

std::vector<std::string> LoadFavourites(const std::string& folder) {
    return TryLoadFavourites(folder).value_or(std::vector<std::string>{});
}

std::optional<std::vector<std::string>> TryLoadFavourites(const std::string& folder) {
    const std::string path = FavouritesPath(folder);
    if (!IsPlainFile(path)) return std::vector<std::string>{};
    std::string content;
    try {
        platform::File file = platform::File::OpenRead(path); // a FIFO or a device: unreadable
        char buffer[4096];
        while (const std::size_t n = file.Read(buffer, sizeof buffer))
            content.append(buffer, n);
    } catch (const std::system_error& e) {
        if (e.code() == std::errc::no_such_file_or_directory) return std::vector<std::string>{}; // gone meanwhile
        return std::nullopt; // a half-read list would lose entries at the next save
    }
    return SplitLines(content);
}

bool IsStorableFavourite(std::string_view entry) {
    return entry.find_first_of("\r\n") == std::string_view::npos;
}

bool SaveFavourites(const std::string& folder, const std::vector<std::string>& entries) {
    const std::string path = FavouritesPath(folder);
    if (entries.empty()) {
        // No file left behind is the goal; one that was never there is just as good.
        return platform::RemoveFile(path) || !platform::FileAttributes(path).has_value();
    }
    for (const auto& entry : entries)
        if (!IsStorableFavourite(entry)) return false;

    std::string content;
    for (const auto& entry : entries)
        content.append(entry).append("\r\n");

    return ReplaceFileContents(path, content);
}

} // namespace vaultwing
