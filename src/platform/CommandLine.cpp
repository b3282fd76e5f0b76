#include "platform/CommandLine.h"

#include "base/Utf8.h"

namespace vaultwing {
namespace {

// Where the character that ends at `end` starts: the grammar counts characters, not bytes, so
// that a drive letter or a cut outside ASCII takes the whole character.
std::size_t CharacterStart(std::string_view text, std::size_t end) {
    std::size_t start = end - 1;
    while (start > 0 && end - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
        --start;
    return DecodeUtf8At(text, start).length == end - start ? start : end - 1;
}

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::string text;
    for (char c : commandLine)
        if (c != '"') text.push_back(c);

    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const auto colon = text.find(':', start);
        pieces.push_back(text.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
        if (colon == std::string::npos) break;
        start = colon + 1;
    }

    std::vector<std::string> paths;
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        const std::string& before = pieces[i - 1];
        if (before.empty()) continue; // a colon without a drive letter names no path
        std::string rest = pieces[i];
        if (!rest.empty()) {
            const std::size_t last = CharacterStart(rest, rest.size());
            if (last > 0 && rest[last - 1] == ' ') rest.resize(last - 1);
        }
        paths.push_back(before.substr(CharacterStart(before, before.size())) + ":" + rest);
    }
    return paths;
}

std::vector<std::string> AbsolutePaths(const std::vector<std::string>& arguments, const std::string& workingDirectory) {
    std::vector<std::string> paths;
    paths.reserve(arguments.size());
#ifdef _WIN32
    // Windows: a path with a drive letter or starting with a separator (a UNC path, or the
    // root of the current drive) is absolute; the rest is joined with a backslash.
    for (const std::string& arg : arguments) {
        if (arg.empty()) continue;
        const bool absolute = (arg.size() >= 2 && arg[1] == ':') || arg[0] == '\\' || arg[0] == '/';
        if (absolute || workingDirectory.empty())
            paths.push_back(arg);
        else if (workingDirectory.back() == '\\' || workingDirectory.back() == '/')
            paths.push_back(workingDirectory + arg);
        else
            paths.push_back(workingDirectory + "\\" + arg);
    }
#else
    for (const std::string& arg : arguments) {
        if (arg.empty()) continue;
        if (arg.front() == '/')
            paths.push_back(arg);
        else if (!workingDirectory.empty() && workingDirectory.back() == '/')
            paths.push_back(workingDirectory + arg);
        else
            paths.push_back(workingDirectory + "/" + arg);
    }
#endif
    return paths;
}

} // namespace vaultwing
