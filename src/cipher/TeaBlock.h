#pragma once
// The TEA block function (32 cycles, delta 0x9E3779B9) and the key it takes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "cipher/ByteOrder.h"

namespace vaultwing::tea {

inline constexpr std::uint32_t kDelta = 0x9E3779B9u;
inline constexpr std::uint32_t kDecryptSum = 0xC6EF3720u; // 32 * kDelta mod 2^32
inline constexpr std::size_t kBlockSize = 8;
inline constexpr std::size_t kKeySize = 16;

// The four key words. They are a secret: every copy wipes itself when it goes.
struct KeyWords {
    KeyWords() = default;
    KeyWords(const KeyWords&) = default;
    KeyWords& operator=(const KeyWords&) = default;
    ~KeyWords();

    std::array<std::uint32_t, 4> k{};
};

// Key bytes are the password in Windows-1252 (one byte per character), zero-padded to 16;
// bytes after the 16th are ignored. No hashing, no salt: files written by every copy of the
// program depend on exactly this.
[[nodiscard]] KeyWords KeyFromPassword(std::string_view utf8Password);

inline void EncryptBlock(std::uint32_t& left, std::uint32_t& right, const KeyWords& key) noexcept {
    const std::uint32_t k0 = key.k[0], k1 = key.k[1], k2 = key.k[2], k3 = key.k[3];
    std::uint32_t l = left, r = right, sum = 0;
    for (int cycle = 0; cycle < 32; ++cycle) {
        sum += kDelta;
        l += ((r << 4) + k0) ^ (r + sum) ^ ((r >> 5) + k1);
        r += ((l << 4) + k2) ^ (l + sum) ^ ((l >> 5) + k3);
    }
    left = l;
    right = r;
}

inline void DecryptBlock(std::uint32_t& left, std::uint32_t& right, const KeyWords& key) noexcept {
    const std::uint32_t k0 = key.k[0], k1 = key.k[1], k2 = key.k[2], k3 = key.k[3];
    std::uint32_t l = left, r = right, sum = kDecryptSum;
    for (int cycle = 0; cycle < 32; ++cycle) {
        r -= ((l << 4) + k2) ^ (l + sum) ^ ((l >> 5) + k3);
        l -= ((r << 4) + k0) ^ (r + sum) ^ ((r >> 5) + k1);
        sum -= kDelta;
    }
    left = l;
    right = r;
}

} // namespace vaultwing::tea
