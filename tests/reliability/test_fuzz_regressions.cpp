// Inputs the fuzzers found that broke a property once, kept so the fault cannot come back.
#include <gtest/gtest.h>
#include <string>

#include "base/IniText.h"

namespace vaultwing::test {
namespace {

// A new key after a last line ending in a lone CR became part of that line, never read back.
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
