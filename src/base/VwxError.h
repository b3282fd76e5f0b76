#pragma once
// The one error type the core raises: a number, the routine that raised it and a description
// the user can read. The window or command that started the operation catches it and shows
// the description.
#include <stdexcept>
#include <string>

namespace vaultwing {

// Cipher failures (wrong password, missing source, I/O) carry this number once worded for the
// user (files/CipherMessages.h).
inline constexpr long kCipherErrorNumber = -2147221504; // 0x80040000

class VwxError : public std::runtime_error {
public:
    VwxError(long number, std::string source, const std::string& description)
        : std::runtime_error(description), number_(number), source_(std::move(source)) {}

    [[nodiscard]] long Number() const noexcept { return number_; }
    [[nodiscard]] const std::string& Source() const noexcept { return source_; }
    [[nodiscard]] std::string Description() const { return what(); }

private:
    long number_;
    std::string source_;
};

} // namespace vaultwing
