#pragma once
// Which systems the program runs on, decided from what the system reports about itself.
#include <string>

namespace vaultwing {

// What the version queries returned.
struct OsVersionReport {
    bool queryOk = false;    // the basic version query succeeded
    unsigned platformId = 0; // 0 Win32s, 1 Windows 9x, 2 NT
    unsigned major = 0;
    unsigned minor = 0;
    bool suiteQueryOk = false; // the extended query (asked for NT 5.1 only) succeeded
    unsigned suiteMask = 0;
    bool wow64 = false; // a 32-bit process on a 64-bit system
};

struct OsVersionDecision {
    int code = 0;                  // 0..11; 0..5 are refused
    bool showQueryFailure = false; // a query failed: say so before going on
    bool known = false;            // decided without a failure (the answer can be kept)
};

inline constexpr unsigned kSuitePersonal = 0x200;
inline constexpr int kFirstSupportedOsCode = 6;

// The decision for one report. NT versions above 6 run like 6: the toolkit the program is built
// on needs Windows 10 or later, so refusing them would refuse every system it can run on.
[[nodiscard]] OsVersionDecision DecideOsVersion(const OsVersionReport& report);

// The display name of a code ("Windows 2000", "Windows Vista 64", ...).
[[nodiscard]] std::string OsName(int code);

// The two fixed messages shown before any language is loaded (German, as the program has
// always shown them).
[[nodiscard]] std::string UnsupportedOsText(const std::string& osName);
[[nodiscard]] std::string OsQueryFailedText();
inline constexpr const char* kOsMessageTitle = "Achtung";

} // namespace vaultwing
