#pragma once
// What the cipher raises when an operation fails. It says what went wrong, not how to word it:
// whoever shows it to the user turns it into a message (files/CipherMessages.h), in the language
// current at that moment.
#include <stdexcept>
#include <system_error>

namespace vaultwing {

enum class CipherOperation { EncryptFile, DecryptFile, EncryptString, DecryptString, EncryptBytes, DecryptBytes };

// The routine's name as error sources spell it ("EncryptByte" for EncryptBytes: files and users
// have always seen the older names).
[[nodiscard]] const char* RoutineName(CipherOperation operation) noexcept;

class CipherFailure : public std::runtime_error {
public:
    enum class Reason {
        SourceMissing,          // no file under the source's name
        SourceEmpty,            // nothing to encrypt
        TooLarge,               // longer than the frame's length field can hold
        WrongPasswordOrDamaged, // the stored length does not fit: nothing tells the two apart
        FileSystem,             // the system refused an open, read, write or rename: SystemError()
    };

    CipherFailure(Reason reason, CipherOperation operation, std::error_code systemError = {});

    [[nodiscard]] Reason WhatFailed() const noexcept { return reason_; }
    [[nodiscard]] CipherOperation Operation() const noexcept { return operation_; }
    [[nodiscard]] const std::error_code& SystemError() const noexcept { return systemError_; }

private:
    Reason reason_;
    CipherOperation operation_;
    std::error_code systemError_;
};

} // namespace vaultwing
