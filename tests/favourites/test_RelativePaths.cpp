#include "favourites/RelativePaths.h"

#include <gtest/gtest.h>
#include <string>

#include "config/LangIndices.h"
#include "platform/platform.h"
#include "support/Raised.h"

namespace vaultwing {
namespace {

LangTable Texts() {
    LangTable t;
    t.Set(lang::kRootMismatch, "Other drive");
    t.Set(lang::kPathAboveBase, "Above the base");
    return t;
}

// A row gives the result, or (result nullptr) the error number raised.
template <typename Call> void Check(const char* expected, long error, Call call) {
    if (expected != nullptr) {
        EXPECT_EQ(call(), expected);
        return;
    }
    const auto raised = test::Raised(call);
    ASSERT_TRUE(raised.has_value()) << "expected error " << error;
    EXPECT_EQ(raised->Number(), error);
    EXPECT_EQ(raised->Description(), error == kErrTooManySteps   ? "rpErrTooManySteps"
                                     : error == kErrRootMismatch ? "Other drive"
                                                                 : "Above the base");
}

TEST(MakeRelativePath, Table) {
    const std::tuple<const char*, bool, const char*, const char*, const char*, long> cases[] = {
        // path, root check, base, separator, result, error
        {"C:\\a\\b\\s\\f.txt", true, "C:\\a\\b\\", "\\", "s\\f.txt", 0},
        {"c:\\A\\x\\y.txt", true, "C:\\a\\b\\c", "\\", "..\\..\\x\\y.txt", 0}, // letter case ignored
        {"C:\\a", false, "C:\\a\\b", "\\", nullptr, kErrIndexOutOfRange},      // above the base
        {"D:\\a\\b\\f.txt", true, "C:\\a\\b", "\\", nullptr, kErrRootMismatch},
        {"D:\\a\\b\\f.txt", false, "C:\\a\\b", "\\", "f.txt", 0},
        {"\\\\SRV\\share\\x\\f.txt", true, "\\\\srv\\share\\dir", "\\", "..\\x\\f.txt", 0},
        {"\\\\other\\share\\dir\\f.txt", true, "\\\\srv\\share\\dir", "\\", nullptr, kErrRootMismatch},
        {"/home/x/y.txt", false, "/home/u/a/", "/", "../../x/y.txt", 0},
        {"x/f.txt", true, "/home/u", "/", nullptr, kErrRootMismatch},
    };
    for (const auto& [path, rootCheck, base, separator, result, error] : cases) {
        SCOPED_TRACE(std::string(path) + " against " + base);
        Check(result, error, [&] { return MakeRelativePath(path, rootCheck, base, separator, Texts()); });
    }
}

TEST(ResolvePath, Table) {
    const std::tuple<const char*, const char*, const char*, const char*, long> cases[] = {
        {"..\\..\\..\\y.txt", "C:\\a\\b\\c", "\\", "C:\\y.txt", 0},
        {"..\\..\\..\\..\\y.txt", "C:\\a\\b\\c", "\\", nullptr, kErrTooManySteps},
        {"..\\x\\..\\y.txt", "C:\\a\\b\\c", "\\", "C:\\a\\x\\y.txt", 0}, // a later ".." climbs, "x" stays
        {"", "C:\\a", "\\", nullptr, kErrIndexOutOfRange},
        {"../f.txt", "/", "/", nullptr, kErrTooManySteps},
    };
    for (const auto& [relative, base, separator, result, error] : cases) {
        SCOPED_TRACE(std::string(relative) + " against " + base);
        Check(result, error, [&] { return ResolvePath(relative, base, separator, Texts()); });
    }
}

// An empty base is the working directory.
TEST(RelativePaths, EmptyBaseIsTheWorkingDirectory) {
    const std::string sep(1, platform::kPathSeparator), cwd = platform::CurrentDirectory();
    const std::string here = (cwd.back() == platform::kPathSeparator ? cwd : cwd + sep) + "sub" + sep + "f.txt";
    EXPECT_EQ(MakeRelativePath(here, true, "", sep, Texts()), "sub" + sep + "f.txt");
    EXPECT_EQ(ResolvePath("sub" + sep + "f.txt", "", sep), here);
}

} // namespace
} // namespace vaultwing
