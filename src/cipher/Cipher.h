#pragma once
// The cipher object: a password key and the operations that turn a file, a byte array or a
// string into its encrypted form and back.
//
// Encrypted form: TEA-CBC (zero initial value, big-endian block words) of a framed plaintext of
// N bytes: two random 32-bit values, the plaintext length L (32-bit little-endian, signed), the
// plaintext and zero padding up to the smallest multiple of 8 not below L + 12. There is no
// header and no checksum; a wrong password shows only as a length that does not fit.
//
// Failures are raised as CipherFailure (cipher/CipherFailure.h), naming what went wrong; the
// cipher itself has no words for users.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cipher/Cbc.h"
#include "cipher/CipherFailure.h"
#include "cipher/TeaBlock.h"

namespace vaultwing {

class Cipher {
public:
    // File operations stream through buffers of at most this many bytes in total.
    static constexpr std::size_t kDefaultStreamBuffer = std::size_t{4} << 20;

    // `decrypt` chooses the decryption kernel and its threads (tests, benchmarks).
    explicit Cipher(std::size_t streamBufferSize = kDefaultStreamBuffer, tea::DecryptSetup decrypt = {});
    ~Cipher();
    Cipher(const Cipher&) = delete;
    Cipher& operator=(const Cipher&) = delete;

    // Writes the encrypted form of `source` to `destination`. A non-empty key replaces the
    // instance's key first and stays in force afterwards.
    void EncryptFile(const std::string& source, const std::string& destination, std::string_view key = {});
    // Writes the plaintext held in the encrypted `source` to `destination`.
    void DecryptFile(const std::string& source, const std::string& destination, std::string_view key = {});
    // UTF-8 in and out; every character passes through Windows-1252 as one byte, so the
    // encrypted string holds arbitrary byte values (each one character), zero included.
    [[nodiscard]] std::string EncryptString(std::string_view text, std::string_view key = {});
    [[nodiscard]] std::string DecryptString(std::string_view text, std::string_view key = {});
    // Replace the array by its encrypted form / its plaintext. On failure it is left as it was.
    void EncryptBytes(std::vector<std::uint8_t>& bytes, std::string_view key = {});
    void DecryptBytes(std::vector<std::uint8_t>& bytes, std::string_view key = {});

    // Derives the key from a password (UTF-8).
    void Key(std::string_view password);

    // Raised on the calling thread about once per percentage point, first 0, last 100.
    std::function<void(int)> Progress;

    // Bytes of buffer the file operations may hold; rounded down to a multiple of 8, at least
    // 16. Small sizes exist for tests of the chunk boundaries.
    void SetStreamBufferSize(std::size_t bytes) noexcept;
    [[nodiscard]] std::size_t StreamBufferSize() const noexcept { return streamBuffer_; }

private:
    void UseKey(std::string_view key);
    // The byte-array passes; `operation` names the public call in failures.
    void EncryptBuffer(std::vector<std::uint8_t>& bytes, CipherOperation operation);
    void DecryptBuffer(std::vector<std::uint8_t>& bytes, CipherOperation operation);

    tea::KeyWords key_{};
    std::size_t streamBuffer_ = kDefaultStreamBuffer;
    tea::DecryptSetup decrypt_;
};

} // namespace vaultwing
