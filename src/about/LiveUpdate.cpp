#include "about/LiveUpdate.h"

#include "config/IniFile.h"
#include "platform/platform.h"

namespace vaultwing {

std::optional<LiveUpdateOutcome> CheckDownloadedVersion(long long bytesReceived, const std::string& cacheFolder,
                                                        const LangTable& texts, std::string_view server) {
    if (bytesReceived <= 0) return LiveUpdateOutcome{DownloadFailedMessage(texts), false, {}};

    const IniStore store(cacheFolder);
    const std::string versionText = store.ReadVersionFile(kVersionKey, kVersionSection);
    // The file is only ever read once: a copy left behind would be read again by the next check.
    if (!platform::DestroyFile(store.VersionPath())) return std::nullopt;

    const UpdateDecision decision = DecideUpdate(bytesReceived, versionText);
    LiveUpdateOutcome outcome{
        UpdateMessage(decision, texts, versionText), decision == UpdateDecision::NewerOffered, {}};
    if (outcome.yesOpensArchive) outcome.archiveAddress = UpdateArchiveAddress(server);
    return outcome;
}

void RemoveStaleVersionFile(const std::string& cacheFolder) {
    (void)platform::DestroyFile(IniStore(cacheFolder).VersionPath()); // none there is the usual case
}

} // namespace vaultwing
