#include "config/FindFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

#include "platform/platform.h"
#include "support/Raised.h"
#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;

// The last pairs hold UTF-8 text: patterns count characters, not bytes.
TEST(MatchesPattern, Wildcards) {
    // clang-format off
    const std::pair<const char*, const char*> matching[] = {
        {".lng", "*.lng"}, {"", "*"}, {"aaa", "*a"}, {"abcabd", "*abd"}, {"abc", "a?c"}, {"a1c", "a#c"},
        {"m", "[a-z]"}, {"7", "[0-36-9]"}, {"-", "[a-]"}, {"ab", "a[]b"}, {"x", "[!]"}, {"*", "[*]"}, {"[a", "[a"},
        {"\xC3\xA4.lng", "?.lng"}, {"\xC3\xB6", "[\xC3\xA4-\xC3\xBC]"}, {"\xC3", "?"}};
    const std::pair<const char*, const char*> failing[] = {
        {"a.lng.bak", "*.lng"}, {"ab", "*a"}, {"acb", "a*b*c"}, {"a", ""}, {"abc", "abcd"}, {"ac", "a?c"},
        {"abc", "a#c"}, {"M", "[a-z]"}, {"m", "[!a-z]"}, {"5", "[0-36-9]"}, {"b", "[a-]"}, {"z", "[z-a]"},
        {"", "[!]"}, {"x", "[*]"}, {"ab", "[a"},
        {"\xC3\xA4", "\xC3?"}, {"\xE2\x82\xAC", "#"}};
    // clang-format on
    for (const auto& [name, pattern] : matching)
        EXPECT_TRUE(MatchesPattern(name, pattern)) << '"' << name << "\" ~ \"" << pattern << '"';
    for (const auto& [name, pattern] : failing)
        EXPECT_FALSE(MatchesPattern(name, pattern)) << '"' << name << "\" ~ \"" << pattern << '"';
}

// Names and patterns compared in lower case, files only, sub-folders only when asked and
// never through a link, every attribute bit asked for, added to what the list held; error 76 for
// a folder that cannot be listed.
TEST(FindFiles, ListsMatchingFiles) {
    test::TempDir dir;
    const std::string sep{platform::kPathSeparator};
    for (const char* name : {"ENGLISH.LNG", ".hidden.lng", "readme.txt", "x.lng/inner.lng", "sub/deeper/c.lng"}) {
        fs::create_directories((dir.Path() / name).parent_path());
        test::WriteFile(dir / name, "x");
    }
    ASSERT_TRUE(platform::SetReadOnly(dir / "ENGLISH.LNG", true));
#ifndef _WIN32 // std::filesystem makes no symbolic links on Windows (reparse points: tests/win32)
    fs::create_directory_symlink(dir.Path() / "sub", dir.Path() / "link");
#endif
    const std::string c = dir / "sub" + sep + "deeper" + sep + "c.lng", inner = dir / "x.lng" + sep + "inner.lng";
    // clang-format off
    const std::tuple<std::string, const char*, std::uint32_t, bool, std::set<std::string>> cases[] = {
        {dir.Str(), "*.Lng", 0, false, {dir / ".hidden.lng", dir / "ENGLISH.LNG"}},
        {dir.Str() + sep, "[e]*", 0, false, {dir / "ENGLISH.LNG"}},
        {dir.Str(), "*.lng", platform::kAttrReadOnly, false, {dir / "ENGLISH.LNG"}},
        {dir.Str(), "*", platform::kAttrReadOnly | platform::kAttrHidden, false, {}},
        {dir.Str(), "*.lng", 0, true, {dir / ".hidden.lng", dir / "ENGLISH.LNG", c, inner}}};
    // clang-format on
    for (const auto& [path, pattern, mask, recursive, expected] : cases) {
        std::vector<std::string> files{"earlier"};
        EXPECT_EQ(FindFiles(path, files, pattern, mask, recursive), static_cast<long>(expected.size())) << pattern;
        EXPECT_EQ(files.front(), "earlier");
        EXPECT_EQ(std::set<std::string>(files.begin() + 1, files.end()), expected) << pattern;
    }
    std::vector<std::string> files;
    const auto error = test::Raised([&] { return FindFiles(dir / "missing", files, "*", 0, false); });
    EXPECT_EQ(error ? error->Number() : 0, 76);
}

} // namespace
} // namespace vaultwing
