// The live-update check after the version file's download.
#include "about/LiveUpdate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "support/IndexTexts.h"
#include "support/TempDir.h"

namespace vaultwing {
namespace {

// The version file as downloaded, and the version offered (nullptr: "no newer version"). Only
// versions of three single-digit parts order correctly ("1.6" reads as 16): as designed.
TEST(LiveUpdate, DecidesFromTheVersionFileAndLeavesNone) {
    const std::pair<std::string, const char*> cases[] = {
        {"[Einstellungen]\r\nversion=1.5.2\r\n", "1.5.2"},
        {"[Einstellungen]\r\nversion=1.5.1\r\n", nullptr}, // the running version itself
        {"[Einstellungen]\r\nversion=1.4.9\r\n", nullptr},
        {"[Einstellungen]\r\nversion=1.6\r\n", nullptr},
        {"[Einstellungen]\r\nversion=1.5.2<h2><a href=x>soon</a>\r\n", nullptr}, // only digits and dots are shown
        {"[Einstellungen]\r\nother=1.5.2\r\n", nullptr},
        {"<html><body>Not Found</body></html>", nullptr},
    };
    for (const auto& [content, offered] : cases) {
        test::TempDir folder;
        test::WriteFile(folder / "version.ini", content);
        const auto outcome = CheckDownloadedVersion(120, folder.Str(), test::IndexTexts(), "updates.example");
        ASSERT_TRUE(outcome.has_value()) << content;
        const Message expected = offered ? Message{std::string("T712 [Version") + offered + "]\r\nT714", "T710",
                                                   MsgIcon::Information, MsgButtons::YesNo}
                                         : Message{"T716", "T710", MsgIcon::Information, MsgButtons::Ok};
        EXPECT_EQ(outcome->message, expected) << content;
        EXPECT_EQ(outcome->yesOpensArchive, offered != nullptr);
        EXPECT_EQ(outcome->archiveAddress, offered ? UpdateArchiveAddress("updates.example") : "");
        EXPECT_FALSE(std::filesystem::exists(folder / "version.ini"));
    }
}

TEST(LiveUpdate, NothingReceivedIsAFailedDownloadAndTouchesNoFile) {
    test::TempDir folder;
    test::WriteFile(folder / "version.ini", "[Einstellungen]\r\nversion=9.9.9\r\n"); // someone else's file
    const auto outcome = CheckDownloadedVersion(0, folder.Str(), test::IndexTexts());
    EXPECT_EQ(outcome.value().message, (Message{"T708", "T418", MsgIcon::Exclamation, MsgButtons::Ok}));
    EXPECT_EQ(test::ReadFile(folder / "version.ini"), "[Einstellungen]\r\nversion=9.9.9\r\n");
}

} // namespace
} // namespace vaultwing
