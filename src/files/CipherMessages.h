#pragma once
// A cipher failure in the words the user reads: the language text current now, or the system's
// description of a file-system failure, raised from "Cipher.<routine>" with the cipher's number.
#include <string>

#include "base/VwxError.h"
#include "cipher/CipherFailure.h"
#include "config/LangTable.h"

namespace vaultwing {

[[nodiscard]] std::string CipherFailureText(const CipherFailure& failure, const LangTable& texts);
[[nodiscard]] VwxError CipherError(const CipherFailure& failure, const LangTable& texts);

} // namespace vaultwing
