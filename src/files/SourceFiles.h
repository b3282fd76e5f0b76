#pragma once
// Destroying a source file after it was processed: deleted, then cut to zero length and committed
// to disk (platform::DestroyFile). The former contents are not overwritten.
#include <functional>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace vaultwing {

// Removes the read-only attribute from `path`, lets pending interface events run
// (`letEventsRun`, when given) and reads the attribute again. True when the file is no longer
// read-only; false when its attributes cannot be read (a missing file, for one). A link or a file
// with further hard links is left as it is (the change would reach a file that is kept). Never
// throws.
bool ClearReadOnly(const std::string& path, const std::function<void()>& letEventsRun = {});

// Destroys a source after its output was written and verified, but only while it is still the
// file that was read (`read`: taken before the run opened it), a plain file with one name, and
// once the folder entry of `output` is on disk. Returns why the source was kept, in English, or
// nullopt when it is gone.
[[nodiscard]] std::optional<std::string> DestroyProcessedSource(const std::string& source,
                                                                const std::optional<platform::FileIdentity>& read,
                                                                const std::string& output,
                                                                const std::function<void()>& letEventsRun = {});

} // namespace vaultwing
