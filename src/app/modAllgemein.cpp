#include "app/modAllgemein.h"

#include "platform/platform.h"

namespace vaultwing {

std::int64_t FileLength(const std::string& path) { return platform::FileSize(path); }

bool FileExists(const std::string& path) { return FileLength(path) >= 0; }

bool IsDirectory(const std::string& path) {
    const auto attrs = platform::FileAttributes(path);
    return attrs && (*attrs & platform::kAttrDirectory) != 0;
}

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string GetExtension(const std::string& path) {
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || dot + 1 == path.size()) return {};
    return LowerAscii(path.substr(dot + 1));
}

std::string StripExtension(const std::string& path) {
    const auto dot = path.find_last_of('.');
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string GetFileName(const std::string& path) {
    const auto sep = path.find_last_of(platform::kPathSeparator);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

} // namespace vaultwing
