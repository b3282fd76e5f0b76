#pragma once
// A fresh folder for one test, removed with everything in it afterwards; whole-file reads and
// writes; a folder's listing.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace vaultwing::test {

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        do
            path_ = std::filesystem::temp_directory_path() / ("vaultwing-test-" + std::to_string(rd()));
        while (!std::filesystem::create_directory(path_));
    }
    ~TempDir() {
        std::error_code ec; // read-only files and folders must not keep the tree alive
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
    // The full path of `name` inside the folder, as the program's string form.
    [[nodiscard]] std::string operator/(std::string_view name) const { return (path_ / name).string(); }
    [[nodiscard]] std::string Str() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::ssize(bytes));
}

inline std::string ReadFile(const std::string& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return std::move(bytes).str();
}

// The names in a folder, sorted; none for a folder that cannot be listed.
inline std::vector<std::string> Names(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        names.push_back(e.path().filename().string());
    std::ranges::sort(names);
    return names;
}

} // namespace vaultwing::test
