#include "about/VersionCheck.h"

#include <iterator>

#include "config/LangIndices.h"

namespace vaultwing {
namespace {

constexpr std::string_view kMakersNotice = "(c) 2026 The Vaultwing team";
constexpr std::string_view kCreditedRoutine = "WipeFile";
constexpr std::string_view kCreditedRoutineAuthor = "Jonas Feldhaus";
constexpr std::string_view kCipherAuthor = "Marta Lindqvist";
constexpr std::string_view kBetaTesters[] = {"Tobias Rehn", "Clara Vossberg"};
constexpr std::string_view kThanks[] = {"Ilse Brandt", "Piotr Nowak", "Sven Aalto", "Nadia Costa"};

std::string Http(std::string_view server, std::string_view path) {
    std::string address = "http://";
    address.append(server).append(path);
    return address;
}

// The click counter counts the download, then forwards to `target` (which is not encoded).
std::string ThroughCounter(std::string_view server, std::string_view targetPath) {
    return Http(server, "/vwx/cgi-bin/click/download.cgi?&action=count&url=") + Http(server, targetPath);
}

} // namespace

UpdateDecision DecideUpdate(long long bytesReceived, std::string_view versionText) {
    if (bytesReceived <= 0) return UpdateDecision::DownloadFailed;
    const bool digitsAndDots =
        !versionText.empty() && versionText.find_first_not_of("0123456789.") == std::string_view::npos;
    if (!digitsAndDots) return UpdateDecision::NoNewer;
    return VersionNumber(versionText) > kRunningVersionNumber ? UpdateDecision::NewerOffered : UpdateDecision::NoNewer;
}

Message DownloadFailedMessage(const LangTable& texts) {
    return {texts[lang::kDownloadFailed], texts[lang::kWarningTitle], MsgIcon::Exclamation, MsgButtons::Ok};
}

Message NoNewerVersionMessage(const LangTable& texts) {
    return {texts[lang::kNoNewerVersion], texts[lang::kUpdateTitle], MsgIcon::Information, MsgButtons::Ok};
}

Message NewerVersionMessage(const LangTable& texts, std::string_view versionText) {
    std::string text = texts[lang::kUpdateOffered];
    text.append(" [Version").append(versionText).append("]").append(kCrLf).append(texts[lang::kUpdateQuestion]);
    return {std::move(text), texts[lang::kUpdateTitle], MsgIcon::Information, MsgButtons::YesNo};
}

Message UpdateMessage(UpdateDecision decision, const LangTable& texts, std::string_view versionText) {
    switch (decision) {
    case UpdateDecision::DownloadFailed:
        return DownloadFailedMessage(texts);
    case UpdateDecision::NoNewer:
        return NoNewerVersionMessage(texts);
    case UpdateDecision::NewerOffered:
        break;
    }
    return NewerVersionMessage(texts, versionText);
}

std::string CreditsLine() {
    std::string line(38, ' ');
    line.append(">>> Vaultwing v").append(kRunningVersionText).append(" ").append(kMakersNotice);
    line.append(" >>> Credits: ").append(kCreditedRoutine).append(" by ").append(kCreditedRoutineAuthor);
    line.append(" >>> Cipher by ").append(kCipherAuthor);
    line.append(" >>> Betatester: ").append(kBetaTesters[0]).append(" & ").append(kBetaTesters[1]);
    line.append(" >>> Thanks: ");
    for (std::size_t i = 0; i < std::size(kThanks); ++i) {
        if (i > 0) line.append(", ");
        line.append(kThanks[i]);
    }
    line.append(" >>> ");
    return line;
}

std::string MarqueeText(const LangTable& texts) {
    return CreditsLine() + texts[lang::kMarquee];
}

std::string WebsiteAddress(std::string_view server) {
    return Http(server, "/vwx/");
}

std::string ContactAddress(std::string_view server) {
    return Http(server, "/vwx/cgi-bin/mailer/mailer.cgi?temp=kontakt.html");
}

std::string VersionFileAddress(std::string_view server) {
    return ThroughCounter(server, "/vwx/version/version.ini");
}

std::string UpdateArchiveAddress(std::string_view server) {
    return ThroughCounter(server, "/vwx/files/updates/vwx.zip");
}

} // namespace vaultwing
