#include "platform/OsVersion.h"

#include <gtest/gtest.h>

namespace vaultwing {
namespace {

TEST(DecideOsVersion, CodeByPlatformVersionSuiteAndBitness) {
    const std::pair<OsVersionReport, int> cases[] = {
        {{true, 0, 3, 10, true, 0, false}, 0},    {{true, 1, 4, 0, true, 0, false}, 1},     // Win32s, 95
        {{true, 1, 4, 10, true, 0, false}, 2},    {{true, 1, 4, 90, true, 0, false}, 3},    // 98, ME
        {{true, 2, 3, 51, true, 0, false}, 4},    {{true, 2, 4, 0, true, 0, false}, 5},     // NT 3, NT 4
        {{true, 2, 5, 0, true, 0, false}, 6},     {{true, 2, 5, 2, true, 0, false}, 9},     // 2000, 2003
        {{true, 2, 5, 1, true, 0x100, false}, 7}, {{true, 2, 5, 1, true, 0x300, false}, 8}, // XP, XP Home
        {{true, 2, 10, 0, true, 0, false}, 10},   {{true, 2, 6, 0, true, 0, true}, 11},     // 10, Vista 64
        {{true, 3, 6, 0, true, 0, false}, 0}};                                              // unknown platform
    for (const auto& [report, code] : cases) {
        EXPECT_EQ(DecideOsVersion(report).code, code)
            << report.platformId << ' ' << report.major << '.' << report.minor;
        EXPECT_TRUE(DecideOsVersion(report).known);
    }
    // A failed query, or a failed suite query on XP, is shown and the system not known.
    for (const auto& [report, code] : {std::pair{OsVersionReport{}, 0}, {{true, 2, 5, 1, false, 0x200, false}, 7}}) {
        EXPECT_EQ(DecideOsVersion(report).code, code);
        EXPECT_TRUE(DecideOsVersion(report).showQueryFailure);
        EXPECT_FALSE(DecideOsVersion(report).known);
    }
}

} // namespace
} // namespace vaultwing
