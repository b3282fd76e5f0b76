#include "favourites/RelativePaths.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

#include "base/VwxError.h"
#include "config/LangIndices.h"
#include "platform/platform.h"

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

// Expected outcome: a result, or the error number raised.
struct Outcome {
    std::optional<std::string> result;
    long error = 0;
};
Outcome Gives(const char* result) {
    return {result, 0};
}
Outcome Fails(long number) {
    return {std::nullopt, number};
}

std::string ExpectedDescription(long number) {
    if (number == kErrTooManySteps) return "rpErrTooManySteps";
    if (number == kErrRootMismatch) return Texts()[lang::kRootMismatch];
    return Texts()[lang::kPathAboveBase];
}

template <typename Call> void Check(const Outcome& expected, const char* source, Call call) {
    if (expected.result) {
        EXPECT_EQ(call(), *expected.result);
        return;
    }
    try {
        const std::string got = call();
        ADD_FAILURE() << "expected error " << expected.error << ", got \"" << got << "\"";
    } catch (const VwxError& e) {
        EXPECT_EQ(e.Number(), expected.error);
        EXPECT_EQ(e.Source(), source);
        EXPECT_EQ(e.Description(), ExpectedDescription(expected.error));
    }
}

// ---------------------------------------------------------------------------------------------
// MakeRelativePath
// ---------------------------------------------------------------------------------------------

struct MakeCase {
    const char* path;
    bool rootCheck;
    const char* base;
    const char* separator;
    Outcome expected;
};

void PrintTo(const MakeCase& c, std::ostream* os) {
    *os << '"' << c.path << "\" against \"" << c.base << (c.rootCheck ? "\", root check" : "\"");
}

class MakeRelative : public ::testing::TestWithParam<MakeCase> {};

TEST_P(MakeRelative, Table) {
    const auto& c = GetParam();
    Check(c.expected, "modRelativePaths.MakeRelativePath",
          [&] { return MakeRelativePath(c.path, c.rootCheck, c.base, c.separator, Texts()); });
}

INSTANTIATE_TEST_SUITE_P(
    Backslash, MakeRelative,
    ::testing::Values(MakeCase{"C:\\a\\b\\f.txt", true, "C:\\a\\b", "\\", Gives("f.txt")},
                      MakeCase{"C:\\a\\b\\s\\f.txt", true, "C:\\a\\b", "\\", Gives("s\\f.txt")},
                      MakeCase{"C:\\a\\x\\f.txt", true, "C:\\a\\b", "\\", Gives("..\\x\\f.txt")},
                      MakeCase{"c:\\A\\B\\f.txt", true, "C:\\a\\b", "\\", Gives("f.txt")},
                      MakeCase{"C:\\a", true, "C:\\a\\b", "\\", Fails(kErrIndexOutOfRange)},
                      MakeCase{"C:\\a", false, "C:\\a\\b", "\\", Fails(kErrIndexOutOfRange)},
                      MakeCase{"", false, "C:\\a\\b", "\\", Fails(kErrIndexOutOfRange)},
                      MakeCase{"", true, "C:\\a\\b", "\\", Fails(kErrIndexOutOfRange)},
                      MakeCase{"D:\\a\\b\\f.txt", true, "C:\\a\\b", "\\", Fails(kErrRootMismatch)},
                      MakeCase{"D:\\a\\b\\f.txt", false, "C:\\a\\b", "\\", Gives("f.txt")},
                      MakeCase{"C:\\a\\b\\f.txt", true, "C:\\a\\b\\", "\\", Gives("f.txt")},
                      MakeCase{"C:\\a\\x\\y.txt", true, "C:\\a\\b\\c", "\\", Gives("..\\..\\x\\y.txt")},
                      MakeCase{"C:\\x\\f.txt", true, "C:\\", "\\", Gives("x\\f.txt")},
                      MakeCase{"C:\\\xC3\x84rger\\f.txt", true, "c:\\\xC3\xA4RGER", "\\", Gives("f.txt")},
                      MakeCase{"\\\\srv\\share\\dir\\f.txt", true, "\\\\srv\\share\\dir", "\\", Gives("f.txt")},
                      MakeCase{"\\\\SRV\\share\\x\\f.txt", true, "\\\\srv\\share\\dir", "\\", Gives("..\\x\\f.txt")},
                      MakeCase{"\\\\other\\share\\dir\\f.txt", true, "\\\\srv\\share\\dir", "\\",
                               Fails(kErrRootMismatch)},
                      MakeCase{"C:\\a\\f.txt", true, "\\\\srv\\share\\dir", "\\", Fails(kErrRootMismatch)}));

INSTANTIATE_TEST_SUITE_P(Slash, MakeRelative,
                         ::testing::Values(MakeCase{"/home/u/a/f.txt", true, "/home/u/a", "/", Gives("f.txt")},
                                           MakeCase{"/home/u/a/s/f.txt", true, "/home/u/a", "/", Gives("s/f.txt")},
                                           MakeCase{"/home/u/x/f.txt", true, "/home/u/a", "/", Gives("../x/f.txt")},
                                           MakeCase{"/home/x/y.txt", false, "/home/u/a/", "/", Gives("../../x/y.txt")},
                                           MakeCase{"/HOME/U/A/f.txt", true, "/home/u/a", "/", Gives("f.txt")},
                                           MakeCase{"/home", true, "/home/u/a", "/", Fails(kErrIndexOutOfRange)},
                                           MakeCase{"/x/f.txt", true, "/", "/", Gives("x/f.txt")},
                                           MakeCase{"x/f.txt", true, "/home/u", "/", Fails(kErrRootMismatch)},
                                           MakeCase{"x/home/u/f.txt", false, "/home/u", "/", Gives("f.txt")},
                                           MakeCase{"x/u/f.txt", false, "/home/u", "/", Gives("../../u/f.txt")}));

TEST(MakeRelativePath, EmptyBaseIsTheWorkingDirectory) {
    const std::string cwd = platform::CurrentDirectory();
    const std::string sep(1, platform::kPathSeparator);
    const std::string prefix = cwd.back() == platform::kPathSeparator ? cwd : cwd + sep;
    EXPECT_EQ(MakeRelativePath(prefix + "sub" + sep + "f.txt", true, "", sep, Texts()), "sub" + sep + "f.txt");
    EXPECT_EQ(ResolvePath("sub" + sep + "f.txt", "", sep), prefix + "sub" + sep + "f.txt");
}

// ---------------------------------------------------------------------------------------------
// ResolvePath
// ---------------------------------------------------------------------------------------------

struct ResolveCase {
    const char* relative;
    const char* base;
    const char* separator;
    Outcome expected;
};

void PrintTo(const ResolveCase& c, std::ostream* os) {
    *os << '"' << c.relative << "\" against \"" << c.base << '"';
}

class Resolve : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(Resolve, Table) {
    const auto& c = GetParam();
    Check(c.expected, "modRelativePaths.ResolvePath",
          [&] { return ResolvePath(c.relative, c.base, c.separator, Texts()); });
}

INSTANTIATE_TEST_SUITE_P(
    Backslash, Resolve,
    ::testing::Values(ResolveCase{"..\\..\\x\\y.txt", "C:\\a\\b\\c", "\\", Gives("C:\\a\\x\\y.txt")},
                      ResolveCase{"..\\..\\..\\y.txt", "C:\\a\\b\\c", "\\", Gives("C:\\y.txt")},
                      ResolveCase{"..\\..\\..\\..\\y.txt", "C:\\a\\b\\c", "\\", Fails(kErrTooManySteps)},
                      ResolveCase{"s\\f.txt", "C:\\a\\b\\", "\\", Gives("C:\\a\\b\\s\\f.txt")},
                      ResolveCase{"f.txt", "C:\\", "\\", Gives("C:\\f.txt")},
                      ResolveCase{"..\\x", "\\\\srv\\share\\dir", "\\", Gives("\\\\srv\\share\\x")},
                      ResolveCase{"..\\..\\..\\x", "\\\\srv\\share\\dir", "\\", Fails(kErrTooManySteps)},
                      ResolveCase{"f.txt", "\\\\srv\\share\\dir\\", "\\", Gives("\\\\srv\\share\\dir\\f.txt")},
                      // A ".." after an ordinary part still climbs; the ordinary part stays.
                      ResolveCase{"..\\x\\..\\y.txt", "C:\\a\\b\\c", "\\", Gives("C:\\a\\x\\y.txt")},
                      ResolveCase{"", "C:\\a", "\\", Fails(kErrIndexOutOfRange)}));

INSTANTIATE_TEST_SUITE_P(Slash, Resolve,
                         ::testing::Values(ResolveCase{"../x", "/home/u/a", "/", Gives("/home/u/x")},
                                           ResolveCase{"../../../x", "/home/u/a", "/", Gives("/x")},
                                           ResolveCase{"../../../../x", "/home/u/a", "/", Fails(kErrTooManySteps)},
                                           ResolveCase{"s/f.txt", "/home/u/a/", "/", Gives("/home/u/a/s/f.txt")},
                                           ResolveCase{"f.txt", "/", "/", Gives("/f.txt")},
                                           ResolveCase{"../f.txt", "/", "/", Fails(kErrTooManySteps)},
                                           ResolveCase{"", "/home", "/", Fails(kErrIndexOutOfRange)}));

TEST(ResolvePath, WithoutLanguageTableStillDescribesTheFailure) {
    try {
        (void)ResolvePath("", "C:\\a", "\\");
        FAIL() << "no error raised";
    } catch (const VwxError& e) {
        EXPECT_EQ(e.Number(), kErrIndexOutOfRange);
        EXPECT_FALSE(e.Description().empty());
    }
}

// Relative and back again gives the path, for paths below, beside and far from the base.
TEST(RelativePaths, RoundTrip) {
    struct Trip {
        const char* base;
        const char* separator;
        const char* paths[4];
    };
    const Trip trips[] = {
        {"C:\\a\\b\\c", "\\", {"C:\\a\\b\\c\\f.txt", "C:\\a\\b\\c\\s\\t\\f.txt", "C:\\a\\x\\y.txt", "C:\\y.txt"}},
        {"\\\\srv\\share\\dir",
         "\\",
         {"\\\\srv\\share\\dir\\f", "\\\\srv\\share\\x\\f", "\\\\srv\\f", "\\\\srv\\a\\b\\c"}},
        {"/home/u/a", "/", {"/home/u/a/f", "/home/u/b/f", "/etc/passwd", "/home/u/a/s/t/f"}},
        {"/", "/", {"/f", "/a/b/f", "/a/f", "/x"}},
    };
    for (const auto& trip : trips) {
        for (const char* path : trip.paths) {
            const std::string relative = MakeRelativePath(path, true, trip.base, trip.separator, Texts());
            EXPECT_EQ(ResolvePath(relative, trip.base, trip.separator), path) << relative;
        }
    }
}

} // namespace
} // namespace vaultwing
