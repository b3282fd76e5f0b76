// The Windows command-line grammar on arbitrary command lines.
// Property: no crash; every path is a drive letter (one character: up to four bytes of UTF-8),
// ":" and the rest of its piece; no path holds a double quote (they are all removed); there is at
// most one path per colon.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "platform/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto paths = vaultwing::SplitCommandLine(line);
    const auto colons = static_cast<std::size_t>(std::count(line.begin(), line.end(), ':'));
    vaultwing::fuzz::Check(paths.size() <= colons, "more paths than colons");
    for (const auto& path : paths) {
        const auto colon = path.find(':');
        vaultwing::fuzz::Check(colon >= 1 && colon <= 4 && colon != std::string::npos,
                               "a path without drive letter and colon", path);
        vaultwing::fuzz::Check(path[0] != ':' && path[0] != '"', "the drive letter is a colon or a quote", path);
        vaultwing::fuzz::Check(path.find('"') == std::string::npos, "a quote survived", path);
        vaultwing::fuzz::Check(path.find(':', colon + 1) == std::string::npos, "a path holds a second colon", path);
    }
    return 0;
}
