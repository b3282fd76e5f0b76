#include "favourites/RelativePaths.h"

#include <gtest/gtest.h>
#include <string>

#include "config/LangIndices.h"
#include "platform/platform.h"
#include "support/Raised.h"

namespace vaultwing {
namespace {

const LangTable& Texts() {
    static const LangTable texts = [] {
        LangTable t;
        t.Set(lang::kRootMismatch, "Other drive");
        t.Set(lang::kPathAboveBase, "Above the base");
        return t;
    }();
    return texts;
}

// A row gives the result, or (result nullptr) the error number raised.
template <typename Call> void Check(const char* expected, long error, const char* source, Call call) {
    if (expected != nullptr) {
        EXPECT_EQ(call(), expected);
        return;
    }
    const auto raised = test::Raised(call);
    ASSERT_TRUE(raised.has_value()) << "expected error " << error;
    EXPECT_EQ(raised->Number(), error);
    EXPECT_EQ(raised->Source(), source);
    EXPECT_EQ(raised->Description(), error == kErrTooManySteps   ? "rpErrTooManySteps"
                                     : error == kErrRootMismatch ? "Other drive"
                                                                 : "Above the base");
}

TEST(MakeRelativePath, Table) {
    const struct {
        const char* path;
        bool rootCheck;
        const char* base;
        const char* separator;
        const char* result;
        long error;
    } cases[] = {
        {"C:\\a\\b\\f.txt", true, "C:\\a\\b", "\\", "f.txt", 0},
        {"C:\\a\\b\\s\\f.txt", true, "C:\\a\\b\\", "\\", "s\\f.txt", 0},
        {"C:\\a\\x\\y.txt", true, "C:\\a\\b\\c", "\\", "..\\..\\x\\y.txt", 0},
        {"c:\\A\\B\\f.txt", true, "C:\\a\\b", "\\", "f.txt", 0}, // letter case ignored
        {"C:\\\xC3\x84rger\\f.txt", true, "c:\\\xC3\xA4RGER", "\\", "f.txt", 0},
        {"C:\\x\\f.txt", true, "C:\\", "\\", "x\\f.txt", 0},
        {"C:\\a", false, "C:\\a\\b", "\\", nullptr, kErrIndexOutOfRange}, // above the base
        {"", true, "C:\\a\\b", "\\", nullptr, kErrIndexOutOfRange},
        {"D:\\a\\b\\f.txt", true, "C:\\a\\b", "\\", nullptr, kErrRootMismatch},
        {"D:\\a\\b\\f.txt", false, "C:\\a\\b", "\\", "f.txt", 0},
        {"\\\\SRV\\share\\x\\f.txt", true, "\\\\srv\\share\\dir", "\\", "..\\x\\f.txt", 0},
        {"\\\\other\\share\\dir\\f.txt", true, "\\\\srv\\share\\dir", "\\", nullptr, kErrRootMismatch},
        {"C:\\a\\f.txt", true, "\\\\srv\\share\\dir", "\\", nullptr, kErrRootMismatch},
        {"/home/u/x/f.txt", true, "/home/u/a", "/", "../x/f.txt", 0},
        {"/home/x/y.txt", false, "/home/u/a/", "/", "../../x/y.txt", 0},
        {"/x/f.txt", true, "/", "/", "x/f.txt", 0},
        {"x/f.txt", true, "/home/u", "/", nullptr, kErrRootMismatch},
        {"x/u/f.txt", false, "/home/u", "/", "../../u/f.txt", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " against " + c.base);
        Check(c.result, c.error, "modRelativePaths.MakeRelativePath",
              [&] { return MakeRelativePath(c.path, c.rootCheck, c.base, c.separator, Texts()); });
    }
}

TEST(ResolvePath, Table) {
    const struct {
        const char* relative;
        const char* base;
        const char* separator;
        const char* result;
        long error;
    } cases[] = {
        {"..\\..\\..\\y.txt", "C:\\a\\b\\c", "\\", "C:\\y.txt", 0},
        {"..\\..\\..\\..\\y.txt", "C:\\a\\b\\c", "\\", nullptr, kErrTooManySteps},
        {"s\\f.txt", "C:\\a\\b\\", "\\", "C:\\a\\b\\s\\f.txt", 0},
        {"..\\x", "\\\\srv\\share\\dir", "\\", "\\\\srv\\share\\x", 0},
        {"..\\..\\..\\x", "\\\\srv\\share\\dir", "\\", nullptr, kErrTooManySteps},
        {"..\\x\\..\\y.txt", "C:\\a\\b\\c", "\\", "C:\\a\\x\\y.txt", 0}, // a later ".." climbs, "x" stays
        {"", "C:\\a", "\\", nullptr, kErrIndexOutOfRange},
        {"../../../x", "/home/u/a", "/", "/x", 0},
        {"f.txt", "/", "/", "/f.txt", 0},
        {"../f.txt", "/", "/", nullptr, kErrTooManySteps},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.relative) + " against " + c.base);
        Check(c.result, c.error, "modRelativePaths.ResolvePath",
              [&] { return ResolvePath(c.relative, c.base, c.separator, Texts()); });
    }
}

// Relative and back again gives the path, for paths below, beside and far from the base, and
// an empty base is the working directory.
TEST(RelativePaths, RoundTrip) {
    const std::string sep(1, platform::kPathSeparator), cwd = platform::CurrentDirectory();
    const std::string here = cwd.back() == platform::kPathSeparator ? cwd : cwd + sep;
    const std::vector<std::pair<std::string, std::vector<std::string>>> trips = {
        {"C:\\a\\b\\c", {"C:\\a\\b\\c\\f.txt", "C:\\a\\b\\c\\s\\t\\f.txt", "C:\\a\\x\\y.txt", "C:\\y.txt"}},
        {"\\\\srv\\share\\dir", {"\\\\srv\\share\\dir\\f", "\\\\srv\\share\\x\\f", "\\\\srv\\f"}},
        {"/home/u/a", {"/home/u/a/f", "/home/u/b/f", "/etc/passwd"}},
        {"", {here + "sub" + sep + "f.txt"}},
    };
    for (const auto& [base, paths] : trips) {
        const std::string separator = base.empty() ? sep : base.substr(0, 1) == "/" ? "/" : "\\";
        for (const auto& path : paths) {
            const std::string relative = MakeRelativePath(path, true, base, separator, Texts());
            EXPECT_EQ(ResolvePath(relative, base, separator), path) << relative;
        }
    }
    EXPECT_EQ(MakeRelativePath(here + "sub" + sep + "f.txt", true, "", sep, Texts()), "sub" + sep + "f.txt");
}

} // namespace
} // namespace vaultwing
