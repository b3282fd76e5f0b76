// The live-update check after the version file's download, and the about window's texts.
#include "about/LiveUpdate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
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
        {"; offered\n[einstellungen]\nVERSION = \"2.0.0\"\n", "2.0.0"},
        {"[Einstellungen]\r\nversion=1.5.2beta\r\n", "1.5.2beta"},
        {"[Einstellungen]\r\nversion=9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9\r\n",
         "9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9"},
        {"[Einstellungen]\r\nversion=1.5.1\r\n", nullptr}, // the running version itself
        {"[Einstellungen]\r\nversion=1.4.9\r\n", nullptr},
        {"[Einstellungen]\r\nversion=1.6\r\n", nullptr},
        {"[Einstellungen]\r\nversion=-1.5.2\r\n", nullptr},
        {"[Einstellungen]\r\nversion=soon\r\n", nullptr},
        {"[Einstellungen]\r\nother=1.5.2\r\n", nullptr},
        {"[Settings]\r\nversion=1.5.2\r\n", nullptr},
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

TEST(LiveUpdate, EndsSilentlyWhenTheFileCannotBeDestroyed) {
    test::TempDir folder;
    EXPECT_FALSE(CheckDownloadedVersion(120, folder.Str(), test::IndexTexts()).has_value()); // missing
    test::WriteFile(folder / "version.ini", "[Einstellungen]\r\nversion=1.5.2\r\n");
    ASSERT_TRUE(platform::SetReadOnly(folder / "version.ini", true));
    EXPECT_FALSE(CheckDownloadedVersion(120, folder.Str(), test::IndexTexts()).has_value());
}

TEST(AboutTexts, CreditsLineAndAddresses) {
    EXPECT_EQ(VersionNumber(VAULTWING_VERSION), kRunningVersionNumber); // the build and the check agree
    // Exactly 38 blanks, the segments in order, names without the separators, one closing blank.
    static const std::regex shape(R"(^ {38}>>> Vaultwing v1\.5\.1 [^>]+ >>> Credits: [^>]+ by [^>]+)"
                                  R"( >>> Cipher by [^>]+ >>> Betatester: [^>&]+ & [^>&]+)"
                                  R"( >>> Thanks: [^>,]+(, [^>,]+)* >>> $)");
    EXPECT_TRUE(std::regex_match(CreditsLine(), shape)) << '"' << CreditsLine() << '"';
    EXPECT_EQ(MarqueeText(test::IndexTexts()), CreditsLine() + "T150");
    EXPECT_EQ(VersionFileAddress("example.test:8080"),
              "http://example.test:8080/vwx/cgi-bin/click/download.cgi?&action=count&url="
              "http://example.test:8080/vwx/version/version.ini");
}

} // namespace
} // namespace vaultwing
