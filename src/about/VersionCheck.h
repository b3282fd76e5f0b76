#pragma once
// The logic of the about window's live-update check and its texts: version numbers, the
// decision after the download, the three messages, the credits line and the web addresses.
#include <climits>
#include <string>
#include <string_view>

#include "config/IniFile.h" // kVersionFileName
#include "config/LangTable.h"
#include "state/Message.h"

// The maker's web server; a build can name another one.
#ifndef VAULTWING_UPDATE_SERVER
#define VAULTWING_UPDATE_SERVER "www.vaultwing.net"
#endif

namespace vaultwing {

inline constexpr const char* kUpdateServer = VAULTWING_UPDATE_SERVER;
inline constexpr const char* kRunningVersionText = "1.5.1";
// The running version as VersionNumber reads it; a version file must name more to be offered.
inline constexpr long kRunningVersionNumber = 151;
// Where the downloaded version file (kVersionFileName, in the program folder) keeps its value.
inline constexpr const char* kVersionSection = "Einstellungen";
inline constexpr const char* kVersionKey = "version";

// Every "." removed, then the leading decimal number (leading blanks and a sign allowed, digits
// up to the first other character); 0 for an empty or non-numeric text. So "1.5.2" gives 152.
// Only versions with three single-digit parts are ordered correctly by this ("1.6" gives 16).
[[nodiscard]] constexpr long VersionNumber(std::string_view text) {
    // Walks the text skipping the dots instead of copying it: clang cannot evaluate a
    // libstdc++ std::string in a constant expression.
    std::size_t i = 0;
    const auto skipDots = [&] {
        while (i < text.size() && text[i] == '.')
            ++i;
    };
    skipDots();
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
        skipDots();
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i++] == '-';
        skipDots();
    }
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; skipDots()) {
        const long digit = text[i++] - '0';
        value = value > (LONG_MAX - digit) / 10 ? LONG_MAX : value * 10 + digit; // saturate, never overflow
    }
    return negative ? -value : value;
}

static_assert(VersionNumber(kRunningVersionText) == kRunningVersionNumber);

enum class UpdateDecision { DownloadFailed, NoNewer, NewerOffered };

// What the check does once the download has ended: nothing received is a failed download;
// otherwise the version text read from the file is offered only when it is made of digits and
// dots alone (it is shown to the user) and is newer than ours.
[[nodiscard]] UpdateDecision DecideUpdate(long long bytesReceived, std::string_view versionText);

// The check's three messages.
[[nodiscard]] Message DownloadFailedMessage(const LangTable& texts);
[[nodiscard]] Message NoNewerVersionMessage(const LangTable& texts);
// Asks whether to open the update archive; Yes and No. `versionText` as read from the file.
[[nodiscard]] Message NewerVersionMessage(const LangTable& texts, std::string_view versionText);
// The message that belongs to `decision`.
[[nodiscard]] Message UpdateMessage(UpdateDecision decision, const LangTable& texts, std::string_view versionText);

// The credits line of the about window's marquee: 38 blanks, then ">>> "-separated segments,
// ending with " >>> ".
[[nodiscard]] std::string CreditsLine();
// The marquee text: the credits line followed directly by language text kMarquee.
[[nodiscard]] std::string MarqueeText(const LangTable& texts);

// The web addresses on `server` (http, no encoding of the counter's target address).
[[nodiscard]] std::string WebsiteAddress(std::string_view server = kUpdateServer);
[[nodiscard]] std::string ContactAddress(std::string_view server = kUpdateServer);
[[nodiscard]] std::string VersionFileAddress(std::string_view server = kUpdateServer);
[[nodiscard]] std::string UpdateArchiveAddress(std::string_view server = kUpdateServer);

} // namespace vaultwing
