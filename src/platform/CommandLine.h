#pragma once
// Turning a start's command line into paths.
#include <string>
#include <string_view>
#include <vector>

namespace vaultwing {

// The paths a start was given. `present` is whether there was a command line at all: one that
// yields no path still counts as a command-line start (which then ends silently).
struct CommandLine {
    bool present = false;
    std::vector<std::string> paths;
};

// The Windows grammar: every double quote removed, then split at ":"; each piece after the first
// gives one path, the last character of the piece before it being its drive letter. Paths are
// separated by one blank and the next drive letter, so a piece whose second-to-last character is
// a blank loses its last two characters. Anything before the first drive letter is ignored.
[[nodiscard]] std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Every argument is one path, made absolute against `workingDirectory` (on Windows a path with
// a drive letter or a leading separator is already absolute, and the join is a backslash). An
// empty argument names no path and is left out: it must never stand for the working directory.
[[nodiscard]] std::vector<std::string> AbsolutePaths(const std::vector<std::string>& arguments,
                                                     const std::string& workingDirectory);

} // namespace vaultwing
