#include "about/VersionCheck.h"

#include <climits>
#include <gtest/gtest.h>
#include <regex>
#include <string>

#include "config/LangIndices.h"

namespace vaultwing {
namespace {

const LangTable& Texts() {
    static const LangTable texts = [] {
        LangTable t;
        t.Set(lang::kWarningTitle, "T418");
        t.Set(lang::kDownloadFailed, "T708");
        t.Set(lang::kUpdateTitle, "T710");
        t.Set(lang::kUpdateOffered, "T712");
        t.Set(lang::kUpdateQuestion, "T714");
        t.Set(lang::kNoNewerVersion, "T716");
        t.Set(lang::kMarquee, "T150 tail");
        return t;
    }();
    return texts;
}

struct CheckCase {
    long long bytes;
    const char* version;
    long number;
    UpdateDecision decision;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.bytes << " bytes, \"" << c.version << '"';
}

class LiveUpdate : public ::testing::TestWithParam<CheckCase> {};

TEST_P(LiveUpdate, DecisionAndMessage) {
    const auto& c = GetParam();
    EXPECT_EQ(VersionNumber(c.version), c.number);
    EXPECT_EQ(DecideUpdate(c.bytes, c.version), c.decision);

    const Message m = UpdateMessage(DecideUpdate(c.bytes, c.version), Texts(), c.version);
    switch (c.decision) {
    case UpdateDecision::DownloadFailed:
        EXPECT_EQ(m, (Message{"T708", "T418", MsgIcon::Exclamation, MsgButtons::Ok}));
        break;
    case UpdateDecision::NoNewer:
        EXPECT_EQ(m, (Message{"T716", "T710", MsgIcon::Information, MsgButtons::Ok}));
        break;
    case UpdateDecision::NewerOffered:
        EXPECT_EQ(m, (Message{std::string("T712 [Version") + c.version + "]\r\nT714", "T710", MsgIcon::Information,
                              MsgButtons::YesNo}));
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, LiveUpdate,
    ::testing::Values(CheckCase{120, "1.5.2", 152, UpdateDecision::NewerOffered},
                      CheckCase{120, "1.5.1", 151, UpdateDecision::NoNewer}, // the running version itself
                      CheckCase{120, "1.4.9", 149, UpdateDecision::NoNewer},
                      CheckCase{120, "1.6", 16, UpdateDecision::NoNewer}, // two parts misorder: as designed
                      CheckCase{120, "", 0, UpdateDecision::NoNewer}, CheckCase{120, "abc", 0, UpdateDecision::NoNewer},
                      CheckCase{120, "2.0.0", 200, UpdateDecision::NewerOffered},
                      CheckCase{120, "1.5.2beta", 152, UpdateDecision::NewerOffered},
                      CheckCase{120, " 1.5.3", 153, UpdateDecision::NewerOffered},
                      CheckCase{120, "-1.5.2", -152, UpdateDecision::NoNewer},
                      CheckCase{120, "...", 0, UpdateDecision::NoNewer},
                      CheckCase{1, "1.5.2", 152, UpdateDecision::NewerOffered},
                      CheckCase{0, "1.5.2", 152, UpdateDecision::DownloadFailed},
                      CheckCase{0, "", 0, UpdateDecision::DownloadFailed}));

TEST(VersionNumber, HugeNumbersSaturateInsteadOfOverflowing) {
    EXPECT_EQ(VersionNumber("99999999999999999999999999"), LONG_MAX);
    EXPECT_EQ(DecideUpdate(5, "9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9.9"), UpdateDecision::NewerOffered);
}

TEST(VersionNumber, RunningVersionMatchesTheBuild) {
    EXPECT_EQ(VersionNumber(VAULTWING_VERSION), kRunningVersionNumber);
    EXPECT_NE(CreditsLine().find(std::string("Vaultwing v") + VAULTWING_VERSION + " "), std::string::npos);
}

TEST(Credits, LineHasTheFixedStructure) {
    const std::string line = CreditsLine();
    // Exactly 38 blanks, the segments in order, names without the separators, one closing blank.
    static const std::regex shape(R"(^ {38}>>> Vaultwing v1\.5\.1 [^>]+ >>> Credits: [^>]+ by [^>]+)"
                                  R"( >>> Cipher by [^>]+ >>> Betatester: [^>&]+ & [^>&]+)"
                                  R"( >>> Thanks: [^>,]+(, [^>,]+)* >>> $)");
    EXPECT_TRUE(std::regex_match(line, shape)) << '"' << line << '"';
    EXPECT_EQ(MarqueeText(Texts()), line + "T150 tail");
}

TEST(WebAddresses, BuiltOnTheGivenServer) {
    EXPECT_EQ(WebsiteAddress("example.test"), "http://example.test/vwx/");
    EXPECT_EQ(ContactAddress("example.test"), "http://example.test/vwx/cgi-bin/mailer/mailer.cgi?temp=kontakt.html");
    EXPECT_EQ(VersionFileAddress("example.test:8080"),
              "http://example.test:8080/vwx/cgi-bin/click/download.cgi?&action=count&url="
              "http://example.test:8080/vwx/version/version.ini");
    EXPECT_EQ(UpdateArchiveAddress("example.test"),
              "http://example.test/vwx/cgi-bin/click/download.cgi?&action=count&url="
              "http://example.test/vwx/files/updates/vwx.zip");
    EXPECT_EQ(WebsiteAddress(), std::string("http://") + VAULTWING_UPDATE_SERVER + "/vwx/");
}

} // namespace
} // namespace vaultwing
