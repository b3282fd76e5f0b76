#include "cipher/CipherFailure.h"

#include <string>

namespace vaultwing {
namespace {

// For logs and debuggers only; users see the caller's message.
std::string Summary(CipherFailure::Reason reason, CipherOperation operation, const std::error_code& systemError) {
    std::string text = std::string(RoutineName(operation)) + ": ";
    switch (reason) {
    case CipherFailure::Reason::SourceMissing:
        return text + "source missing";
    case CipherFailure::Reason::SourceEmpty:
        return text + "source empty";
    case CipherFailure::Reason::TooLarge:
        return text + "source too large";
    case CipherFailure::Reason::WrongPasswordOrDamaged:
        return text + "wrong password or damaged file";
    case CipherFailure::Reason::FileSystem:
        break;
    }
    return text + systemError.message();
}

} // namespace

const char* RoutineName(CipherOperation operation) noexcept {
    switch (operation) {
    case CipherOperation::EncryptFile:
        return "EncryptFile";
    case CipherOperation::DecryptFile:
        return "DecryptFile";
    case CipherOperation::EncryptString:
        return "EncryptString";
    case CipherOperation::DecryptString:
        return "DecryptString";
    case CipherOperation::EncryptBytes:
        return "EncryptByte";
    case CipherOperation::DecryptBytes:
        return "DecryptByte";
    }
    return "?";
}

CipherFailure::CipherFailure(Reason reason, CipherOperation operation, std::error_code systemError)
    : std::runtime_error(Summary(reason, operation, systemError)), reason_(reason), operation_(operation),
      systemError_(systemError) {}

} // namespace vaultwing
