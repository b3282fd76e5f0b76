#include "base/PathNames.h"

namespace vaultwing {

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
    const auto sep = path.find_last_of(kPathSeparator);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

} // namespace vaultwing
