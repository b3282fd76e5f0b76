// Inputs the fuzzers found that broke a property once; each stays here so the fault cannot
// come back.
#include <gtest/gtest.h>
#include <string>

#include "base/IniText.h"

namespace vaultwing::test {
namespace {

// A settings file whose last line ends in a lone CR (no LF): a new key used to be appended
// straight after the CR, where it became part of that line and never read back, while the
// write reported success.
TEST(FuzzRegressions, NewKeyAfterALastLineEndingInALoneCrReadsBack) {
    for (const std::string tail : {"\r", "", "\r\r", " \r"}) {
        const std::string content = "[Einstellungen]\r\nPfad=1" + tail;
        const auto updated = IniUpdateValue(content, "Einstellungen", "Delete", "1");
        ASSERT_TRUE(updated.has_value());
        EXPECT_EQ(IniReadValue(*updated, "Einstellungen", "Delete"), "1") << *updated;
        EXPECT_EQ(IniReadValue(*updated, "Einstellungen", "Pfad"), "1") << *updated;
        EXPECT_EQ(updated->substr(0, content.size()), content); // the old bytes stay as they were
    }
}

} // namespace
} // namespace vaultwing::test
