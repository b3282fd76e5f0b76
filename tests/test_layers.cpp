// Folders are layers: a file includes only from its own folder and from the folders the table
// below allows, the table leads nowhere back to where it started, and only the desktop program
// includes Qt. Reads the #include lines of every source file and names the first that breaks this.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;
using IncludeGraph = std::map<std::string, std::set<std::string>>;

// The folders each folder may include from, besides itself, lowest first.
const IncludeGraph kMayInclude = {
    {"base", {}},
    {"platform", {"base"}},
    {"cipher", {"base", "platform"}},
    {"config", {"base", "platform"}},
    {"state", {"config", "platform"}},
    {"files", {"base", "cipher", "config", "platform", "state"}},
    {"password", {"base", "config", "files", "state"}},
    {"favourites", {"base", "config", "files", "platform", "state"}},
    {"about", {"config", "platform", "state"}},
    {"app", {"base", "config", "favourites", "files", "password", "platform", "state"}},
    {"cli", {"app", "base", "config", "password", "platform", "state"}},
    {"gui", {"about", "app", "base", "config", "favourites", "password", "platform", "state"}}};

// Depth-first search for a folder whose allowed includes lead back to it.
bool HasCycle(const IncludeGraph& graph) {
    std::map<std::string, int> mark; // 1: on the path being walked, 2: done
    const auto reachesItsPath = [&](const auto& self, const std::string& folder) -> bool {
        if (mark[folder] != 0) return mark[folder] == 1;
        mark[folder] = 1;
        if (const auto allowed = graph.find(folder); allowed != graph.end())
            for (const std::string& next : allowed->second)
                if (self(self, next)) return true;
        mark[folder] = 2;
        return false;
    };
    return std::any_of(graph.begin(), graph.end(),
                       [&](const auto& row) { return reachesItsPath(reachesItsPath, row.first); });
}

TEST(Layers, TheAllowedIncludesRunOneWay) {
    EXPECT_FALSE(HasCycle(kMayInclude));
    EXPECT_TRUE(HasCycle({{"a", {"b"}}, {"b", {"c"}}, {"c", {"a"}}}));    // the check sees a cycle
    EXPECT_FALSE(HasCycle({{"a", {"b", "c"}}, {"b", {"c"}}, {"c", {}}})); // two ways to one folder are none
}

TEST(Layers, EveryIncludeIsAllowedAndQtStaysInGui) {
    const fs::path src = fs::path(VAULTWING_SOURCE_DIR) / "src";
    const std::regex projectInclude(R"(^\s*#\s*include\s*"([a-z]+)/)");
    const std::regex qtInclude(R"(^\s*#\s*include\s*<Q[A-Za-z])");
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        const std::string folder = fs::relative(entry.path(), src).begin()->string();
        const auto own = kMayInclude.find(folder);
        ASSERT_NE(own, kMayInclude.end()) << "a source folder outside the table: " << folder;
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            const std::string where = entry.path().string() + ":" + std::to_string(number) + ": " + line;
            std::smatch m;
            if (std::regex_search(line, m, projectInclude)) {
                const std::string target = m[1].str();
                ASSERT_TRUE(target == folder || own->second.contains(target)) << "an include not allowed: " << where;
            }
            if (folder != "gui") {
                ASSERT_FALSE(std::regex_search(line, qtInclude)) << "Qt outside src/gui: " << where;
            }
        }
    }
    EXPECT_GT(files, 50);
}

} // namespace
