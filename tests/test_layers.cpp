// Folders are layers: a file includes only its own layer or lower ones, and only the desktop
// program includes Qt. Reads the #include lines of every source file and names the first that
// runs upward.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

// Lowest first; folders of one layer may include each other.
const std::map<std::string, int> kLayer = {
    {"base", 0},  {"platform", 1}, {"cipher", 2},     {"config", 2}, {"state", 3}, {"files", 4},
    {"password", 4}, {"favourites", 4}, {"about", 4}, {"app", 5},    {"cli", 6},   {"gui", 6},
};

TEST(Layers, NoIncludeRunsUpwardAndQtStaysInGui) {
    const fs::path src = fs::path(VAULTWING_SOURCE_DIR) / "src";
    const std::regex projectInclude(R"(^\s*#\s*include\s*"([a-z]+)/)");
    const std::regex qtInclude(R"(^\s*#\s*include\s*<Q[A-Za-z])");
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        const std::string folder = fs::relative(entry.path(), src).begin()->string();
        const auto own = kLayer.find(folder);
        ASSERT_NE(own, kLayer.end()) << "a source folder outside the layers: " << folder;
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            const std::string where = entry.path().string() + ":" + std::to_string(number) + ": " + line;
            std::smatch m;
            if (std::regex_search(line, m, projectInclude)) {
                const auto target = kLayer.find(m[1].str());
                ASSERT_NE(target, kLayer.end()) << "an include of an unknown folder: " << where;
                ASSERT_LE(target->second, own->second) << "an include runs upward: " << where;
            }
            if (folder != "gui") {
                ASSERT_FALSE(std::regex_search(line, qtInclude)) << "Qt outside src/gui: " << where;
            }
        }
    }
    EXPECT_GT(files, 50);
}

} // namespace
