// POSIX: arguments and file names are bytes, UTF-8 by convention; taken as they are.
#include "platform/ProgramArguments.h"

namespace vaultwing::platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

std::FILE* OpenCFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

} // namespace vaultwing::platform
