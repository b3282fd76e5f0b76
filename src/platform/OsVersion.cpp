#include "platform/OsVersion.h"

#include <array>

namespace vaultwing {

OsVersionDecision DecideOsVersion(const OsVersionReport& r) {
    if (!r.queryOk) return {0, true, false};
    switch (r.platformId) {
    case 0:
        return {0, false, true};
    case 1:
        if (r.minor == 0) return {1, false, true};
        if (r.minor == 10) return {2, false, true};
        if (r.minor == 90) return {3, false, true};
        return {0, false, true};
    case 2:
        if (r.major == 3) return {4, false, true};
        if (r.major == 4) return {5, false, true};
        if (r.major == 5) {
            if (r.minor == 0) return {6, false, true};
            if (r.minor == 1) {
                if (!r.suiteQueryOk) return {7, true, false};
                return {(r.suiteMask & kSuitePersonal) != 0 ? 8 : 7, false, true};
            }
            if (r.minor == 2) return {9, false, true};
            return {0, false, true};
        }
        if (r.major >= 6) return {r.wow64 ? 11 : 10, false, true};
        return {0, false, true};
    default:
        return {0, false, true};
    }
}

std::string OsName(int code) {
    static const std::array<const char*, 12> kNames = {"Windows 32s",  "Windows 95",       "Windows 98",
                                                       "Windows ME",   "Windows NT 3",     "Windows NT 4",
                                                       "Windows 2000", "Windows XP",       "Windows XP Home Edition",
                                                       "Windows 2003", "Windows Vista 32", "Windows Vista 64"};
    return code >= 0 && code < static_cast<int>(kNames.size()) ? kNames[static_cast<std::size_t>(code)] : kNames[0];
}

std::string UnsupportedOsText(const std::string& osName) {
    return "Vaultwing l\xC3\xA4uft nicht unter dem Betriebssystem " + osName;
}

std::string OsQueryFailedText() {
    return "Das Betriebssystem konnte nicht korrekt erkannt werden:\r\nFehler im API-Aufruf";
}

} // namespace vaultwing
