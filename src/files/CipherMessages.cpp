#include "files/CipherMessages.h"

#include "config/LangIndices.h"
#include "platform/platform.h"

namespace vaultwing {

std::string CipherFailureText(const CipherFailure& failure, const LangTable& texts) {
    using Reason = CipherFailure::Reason;
    switch (failure.WhatFailed()) {
    case Reason::SourceMissing:
    case Reason::SourceEmpty: // one text for both: there is nothing to encrypt either way
        return texts[lang::kSourceMissing];
    case Reason::TooLarge:
        return texts[lang::kFileTooLarge];
    case Reason::WrongPasswordOrDamaged:
        return texts[lang::kWrongPassword];
    case Reason::FileSystem:
        break;
    }
    return platform::ErrorDescription(failure.SystemError());
}

VwxError CipherError(const CipherFailure& failure, const LangTable& texts) {
    return VwxError(kCipherErrorNumber, std::string("Cipher.") + RoutineName(failure.Operation()),
                    CipherFailureText(failure, texts));
}

} // namespace vaultwing
