#pragma once
// A command-line program's arguments and the files it names, in UTF-8 on every system.
#include <cstdio>
#include <string>
#include <vector>

namespace vaultwing::platform {

// The arguments after the program name, as main received them (`argc`, `argv`). Win32 reads the
// wide command line instead, because the ANSI `argv` has lost every character outside the code
// page; POSIX takes `argv` as it is.
[[nodiscard]] std::vector<std::string> ProgramArguments(int argc, char** argv);

// `std::fopen` of a UTF-8 path (Win32 opens the wide name); nullptr when it cannot be opened.
[[nodiscard]] std::FILE* OpenCFile(const std::string& path, const char* mode);

} // namespace vaultwing::platform
