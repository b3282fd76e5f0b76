#pragma once
// Small helpers shared by the fuzz targets.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

namespace vaultwing::fuzz {

// Stops the run with a message: libFuzzer saves the input that got here as a crash.
[[noreturn]] inline void Fail(const char* what, std::string_view detail = {}) {
    std::fprintf(stderr, "PROPERTY VIOLATED: %s [%.*s]\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

inline void Check(bool condition, const char* what, std::string_view detail = {}) {
    if (!condition) Fail(what, detail);
}

// One folder per fuzzing process for targets that need files: in memory when /dev/shm is
// there, since every save is flushed to disk.
// The folder goes when the process ends normally (libFuzzer exits normally at -max_total_time).
inline const std::filesystem::path& ScratchFolder() {
    struct Folder {
        std::filesystem::path path;
        Folder() {
            std::error_code ec;
            const auto base = std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                                            : std::filesystem::temp_directory_path();
            path = base / ("vaultwing-fuzz-" + std::to_string(::getpid()));
            std::filesystem::remove_all(path, ec);
            std::filesystem::create_directories(path);
        }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Folder folder;
    return folder.path;
}

// The names in `folder`, for checks that nothing was left behind.
inline std::size_t EntriesIn(const std::filesystem::path& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder))
        ++n;
    return n;
}

} // namespace vaultwing::fuzz
