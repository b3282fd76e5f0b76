#pragma once
// The .vwx frame: the plaintext as it is enciphered. Two random values, the plaintext length (all
// 32-bit little-endian), the data and zero padding up to the smallest multiple of 8 not below
// length + 12. There is no header and no checksum; a wrong password shows only as a length
// that does not fit.
#include <cstddef>
#include <cstdint>

#include "cipher/TeaBlock.h"

namespace vaultwing::tea {

inline constexpr std::size_t kHeaderSize = 12;
inline constexpr std::size_t kLengthOffset = 8;
// The length field is a signed 32-bit value; a longer plaintext cannot be stored.
inline constexpr std::int64_t kMaxPlainLength = 2147483635;
// The smallest encrypted form (an empty or short plaintext).
inline constexpr std::size_t kMinFramedSize = 16;

// N: the smallest multiple of 8 not less than plainLength + 12.
[[nodiscard]] constexpr std::uint64_t FramedSize(std::uint64_t plainLength) noexcept {
    return (plainLength + kHeaderSize + kBlockSize - 1) / kBlockSize * kBlockSize;
}

// True when `storedLength` is the one length an encryption could have stored in a framed
// buffer of `framedSize` bytes. A wrong key passes by chance with probability 8 in 2^32.
[[nodiscard]] constexpr bool LengthFits(std::int32_t storedLength, std::uint64_t framedSize) noexcept {
    if (storedLength < 0) return false;
    const auto length = static_cast<std::uint64_t>(storedLength);
    return framedSize >= length + 12 && framedSize - length <= 19;
}

// Two values in 0..2147483647 for the first block: a single-precision uniform r in [0, 1)
// times 2147483647, rounded to nearest with ties to even. Decryption ignores them.
struct RandomPair {
    std::uint32_t first = 0;
    std::uint32_t second = 0;
};
[[nodiscard]] RandomPair DrawRandomValues();
[[nodiscard]] std::uint32_t ScaleRandom(float r) noexcept;

// The 12 framed bytes in front of the data.
void WriteHeader(std::uint8_t* header, const RandomPair& random, std::int32_t length) noexcept;

// The length field of a deciphered frame (at least its first 12 bytes).
[[nodiscard]] inline std::int32_t StoredLength(const std::uint8_t* frame) noexcept {
    return static_cast<std::int32_t>(LoadLE32(frame + kLengthOffset));
}

} // namespace vaultwing::tea
