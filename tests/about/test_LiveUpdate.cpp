// The step after the version file's download: read, destroy, decide, and what to show.
#include "about/LiveUpdate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/LangIndices.h"
#include "platform/platform.h"
#include "support/IndexTexts.h"
#include "support/TempDir.h"

namespace vaultwing {
namespace {

const LangTable& Texts() { return test::IndexTexts(); }

const Message kNoNewer{"T716", "T710", MsgIcon::Information, MsgButtons::Ok};

struct FileCase {
    const char* name;
    const char* content;
    Message expected;
    bool offered;
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

class DownloadedVersionFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(DownloadedVersionFile, DecidesAndLeavesNoVersionFile) {
    const auto& c = GetParam();
    test::TempDir folder;
    test::WriteFile(folder / "version.ini", c.content);

    const auto outcome = CheckDownloadedVersion(120, folder.Str(), Texts(), "updates.example");
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->message, c.expected);
    EXPECT_EQ(outcome->yesOpensArchive, c.offered);
    EXPECT_EQ(outcome->archiveAddress, c.offered ? UpdateArchiveAddress("updates.example") : "");
    EXPECT_FALSE(std::filesystem::exists(folder / "version.ini"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, DownloadedVersionFile,
    ::testing::Values(FileCase{"Newer",
                               "[Einstellungen]\r\nversion=1.5.2\r\n",
                               {"T712 [Version1.5.2]\r\nT714", "T710", MsgIcon::Information, MsgButtons::YesNo},
                               true},
                      FileCase{"NewerLfQuotedOtherCase",
                               "; offered\n[einstellungen]\nVERSION = \"2.0.0\"\n",
                               {"T712 [Version2.0.0]\r\nT714", "T710", MsgIcon::Information, MsgButtons::YesNo},
                               true},
                      FileCase{"Older", "[Einstellungen]\r\nversion=1.4.9\r\n", kNoNewer, false},
                      FileCase{"Same", "[Einstellungen]\r\nversion=1.5.1\r\n", kNoNewer, false},
                      FileCase{"TwoPartsReadAsSixteen", "[Einstellungen]\r\nversion=1.6\r\n", kNoNewer, false},
                      FileCase{"NoKey", "[Einstellungen]\r\nother=1.5.2\r\n", kNoNewer, false},
                      FileCase{"NoSection", "version=1.5.2\r\n", kNoNewer, false},
                      FileCase{"OtherSection", "[Settings]\r\nversion=1.5.2\r\n", kNoNewer, false},
                      FileCase{"NotANumber", "[Einstellungen]\r\nversion=soon\r\n", kNoNewer, false},
                      FileCase{"HtmlErrorPage", "<html><body>Not Found</body></html>", kNoNewer, false}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(LiveUpdateCheck, NothingReceivedIsAFailedDownloadAndTouchesNoFile) {
    test::TempDir folder;
    test::WriteFile(folder / "version.ini", "[Einstellungen]\r\nversion=9.9.9\r\n"); // someone else's file
    const auto outcome = CheckDownloadedVersion(0, folder.Str(), Texts());
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->message, (Message{"T708", "T418", MsgIcon::Exclamation, MsgButtons::Ok}));
    EXPECT_FALSE(outcome->yesOpensArchive);
    EXPECT_EQ(test::ReadFile(folder / "version.ini"), "[Einstellungen]\r\nversion=9.9.9\r\n");
}

TEST(LiveUpdateCheck, EndsSilentlyWhenTheFileCannotBeDestroyed) {
    test::TempDir folder;
    EXPECT_FALSE(CheckDownloadedVersion(120, folder.Str(), Texts()).has_value()); // missing

    test::WriteFile(folder / "version.ini", "[Einstellungen]\r\nversion=1.5.2\r\n");
    ASSERT_TRUE(platform::SetReadOnly(folder / "version.ini", true));
    EXPECT_FALSE(CheckDownloadedVersion(120, folder.Str(), Texts()).has_value()); // read-only

    ASSERT_TRUE(platform::SetReadOnly(folder / "version.ini", false));
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege Windows users rarely have";
#endif
    std::filesystem::create_directory(folder / "sub");
    std::filesystem::create_symlink(folder / "version.ini", folder / "sub/version.ini");
    EXPECT_FALSE(CheckDownloadedVersion(120, folder / "sub", Texts()).has_value()); // a link to another file
    EXPECT_TRUE(std::filesystem::exists(folder / "version.ini"));
}

} // namespace
} // namespace vaultwing
