#include "platform/CommandLine.h"

#include <gtest/gtest.h>

namespace vaultwing {
namespace {

using Paths = std::vector<std::string>;

TEST(SplitCommandLine, GivesThePaths) {
    const std::pair<const char*, Paths> cases[] = {
        {R"(C:\a.txt D:\b.txt)", {R"(C:\a.txt)", R"(D:\b.txt)"}},
        {R"(x C:\a.txt)", {R"(C:\a.txt)"}},                                   // text before the first drive is ignored
        {R"("C:\My Files\a.txt" D:\b)", {R"(C:\My Files\a.txt)", R"(D:\b)"}}, // quotes vanish
        {R"(C:\dir\file a)", {R"(C:\dir\file)"}},                             // a blank second-to-last cuts two
        {R"(C:\we"ird\na"me.txt)", {R"(C:\weird\name.txt)"}},
        {R"(C:\with space\x.vwx E:\y)", {R"(C:\with space\x.vwx)", R"(E:\y)"}},
        {R"(C:\)", {R"(C:\)"}}, // a drive root: a one-character piece
        {R"(:\x)", {}},         // a colon with no drive letter
        // Characters, not bytes: a letter outside ASCII is a drive letter, a last one is cut whole.
        {"C:\\\xE2\x82\xAC \xC3\x84:\\x", {"C:\\\xE2\x82\xAC", "\xC3\x84:\\x"}},
        {"C:\\f \xF0\x9F\x98\x80", {"C:\\f"}}};
    for (const auto& [line, paths] : cases)
        EXPECT_EQ(SplitCommandLine(line), paths) << line;
}

TEST(AbsolutePaths, JoinsRelativeArgumentsToTheWorkingDirectory) {
#ifdef _WIN32
    EXPECT_EQ(AbsolutePaths({"a.txt", "C:\\abs\\b", "", "\\\\srv\\share\\d", "D:e"}, "C:\\Users\\u"),
              (Paths{"C:\\Users\\u\\a.txt", "C:\\abs\\b", "\\\\srv\\share\\d", "D:e"}));
#else
    EXPECT_EQ(AbsolutePaths({"a.txt", "/abs/b", "", "sub/c"}, "/home/u"), // an empty argument is no path
              (Paths{"/home/u/a.txt", "/abs/b", "/home/u/sub/c"}));
    EXPECT_EQ(AbsolutePaths({"a"}, "/"), Paths{"/a"});
#endif
}

} // namespace
} // namespace vaultwing
