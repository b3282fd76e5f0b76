#include "platform/OsVersion.h"

#include <gtest/gtest.h>

namespace vaultwing {
namespace {

struct OsCase {
    const char* what;
    OsVersionReport report;
    int code;
    bool failureShown;
    bool known;
};

OsVersionReport Report(unsigned platformId, unsigned major, unsigned minor, unsigned suite = 0, bool wow64 = false,
                       bool suiteOk = true) {
    return OsVersionReport{true, platformId, major, minor, suiteOk, suite, wow64};
}

class OsVersionTable : public ::testing::TestWithParam<OsCase> {};

TEST_P(OsVersionTable, DecidesTheCode) {
    const auto& c = GetParam();
    const auto decision = DecideOsVersion(c.report);
    EXPECT_EQ(decision.code, c.code) << c.what;
    EXPECT_EQ(decision.showQueryFailure, c.failureShown) << c.what;
    EXPECT_EQ(decision.known, c.known) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    EveryRow, OsVersionTable,
    ::testing::Values(
        OsCase{"Win32s", Report(0, 3, 10), 0, false, true}, OsCase{"95", Report(1, 4, 0), 1, false, true},
        OsCase{"98", Report(1, 4, 10), 2, false, true}, OsCase{"ME", Report(1, 4, 90), 3, false, true},
        OsCase{"9x other minor", Report(1, 4, 50), 0, false, true}, OsCase{"NT 3", Report(2, 3, 51), 4, false, true},
        OsCase{"NT 4", Report(2, 4, 0), 5, false, true}, OsCase{"2000", Report(2, 5, 0), 6, false, true},
        OsCase{"XP", Report(2, 5, 1, 0x100), 7, false, true}, OsCase{"XP Home", Report(2, 5, 1, 0x300), 8, false, true},
        OsCase{"XP suite query failed", Report(2, 5, 1, 0x200, false, false), 7, true, false},
        OsCase{"2003", Report(2, 5, 2), 9, false, true}, OsCase{"NT 5.3", Report(2, 5, 3), 0, false, true},
        OsCase{"Vista", Report(2, 6, 0), 10, false, true}, OsCase{"7, any minor", Report(2, 6, 1), 10, false, true},
        OsCase{"Vista 64", Report(2, 6, 0, 0, true), 11, false, true},
        OsCase{"Windows 10 runs like 6", Report(2, 10, 0), 10, false, true},
        OsCase{"Windows 10, 32-bit process on 64", Report(2, 10, 0, 0, true), 11, false, true},
        OsCase{"NT 2", Report(2, 2, 0), 0, false, true}, OsCase{"unknown platform", Report(3, 6, 0), 0, false, true},
        OsCase{"query failed", OsVersionReport{}, 0, true, false}));

} // namespace
} // namespace vaultwing
