// Settings files on POSIX: the program's own reader and writer, which treat an INI file the way
// the Windows profile functions do.
#include "platform/platform.h"

#include <cstdint>
#include <optional>
#include <system_error>

#include "base/IniText.h"
#include "platform/DurableWrite.h"

namespace vaultwing::platform {
namespace {

enum class LoadResult { Loaded, Missing, Failed };

LoadResult ReadWhole(File& file, std::string& content) {
    const std::int64_t size = file.Size();
    if (size < 0 || static_cast<std::uint64_t>(size) > kIniMaxFileSize) return LoadResult::Failed;
    // Read to the real end: the size is only a hint for a file that may be changing.
    char buffer[16384];
    for (;;) {
        const std::size_t n = file.Read(buffer, sizeof buffer);
        if (n == 0) break;
        content.append(buffer, n);
        if (content.size() > kIniMaxFileSize) return LoadResult::Failed;
    }
    return LoadResult::Loaded;
}

LoadResult LoadFile(const std::string& path, std::string& content) {
    content.clear();
    std::optional<File> file;
    try {
        file.emplace(File::OpenRead(path)); // a FIFO in its place must not hold the program up
    } catch (const std::system_error& e) {
        return e.code() == std::errc::no_such_file_or_directory ? LoadResult::Missing : LoadResult::Failed;
    }
    try {
        return ReadWhole(*file, content);
    } catch (const std::system_error&) {
        return LoadResult::Failed;
    }
}

} // namespace

std::string ProfileRead(const std::string& path, const std::string& section, const std::string& key) {
    if (IniNameBlank(key)) return {};
    std::string content;
    if (LoadFile(path, content) != LoadResult::Loaded) return {};
    return IniReadValue(content, section, key);
}

bool ProfileWrite(const std::string& path, const std::string& section, const std::string& key,
                  const std::string& value) {
    if (IniNameBlank(key)) return false;
    std::string content;
    const LoadResult loaded = LoadFile(path, content);
    // A file that exists but cannot be read must not be replaced by one holding only this key.
    if (loaded == LoadResult::Failed) return false;
    if (loaded == LoadResult::Loaded) {
        // A read-only settings file is left alone, as the system's own INI writer leaves it.
        const auto attributes = FileAttributes(path);
        if (!attributes || (*attributes & kAttrReadOnly) != 0) return false;
    }
    const auto updated = IniUpdateValue(content, section, key, value);
    if (!updated) return false;
    if (loaded == LoadResult::Loaded && *updated == content) return true;
    return ReplaceFileContents(path, *updated);
}

} // namespace vaultwing::platform
