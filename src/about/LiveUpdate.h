#pragma once
// What the live-update check does once the version file's download has ended: read the offered
// version from version.ini in the cache folder (platform/Folders.h), destroy that file, decide and say what to show.
#include <optional>
#include <string>

#include "about/VersionCheck.h"
#include "config/LangTable.h"
#include "state/Message.h"

namespace vaultwing {

struct LiveUpdateOutcome {
    Message message;
    // True for the Yes/No question: Yes opens `archiveAddress` in the browser and closes the
    // about window; No does nothing more.
    bool yesOpensArchive = false;
    std::string archiveAddress;
};

// `bytesReceived` is what the download component reported. Nothing received gives the
// download-failed message and leaves the cache folder alone. Otherwise the version file is
// read and destroyed; nullopt (the check ends silently) when it cannot be destroyed, which
// includes a missing file. A file without the key, or with a value that is not a number, names
// version 0 and so gives the no-newer-version message.
[[nodiscard]] std::optional<LiveUpdateOutcome> CheckDownloadedVersion(long long bytesReceived,
                                                                      const std::string& cacheFolder,
                                                                      const LangTable& texts,
                                                                      std::string_view server = kUpdateServer);

// Removes a version file left in the cache folder by a check that never got to read it (the
// program ended during the check). The download never replaces a file, so one left behind
// would make every later check fail. Called before each download.
void RemoveStaleVersionFile(const std::string& cacheFolder);

} // namespace vaultwing
