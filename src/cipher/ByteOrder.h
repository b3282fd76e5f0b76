#pragma once
// 32-bit words from and to bytes. TEA blocks are two big-endian words; the random values and the
// length inside the .vwx frame are little-endian. Words are always built from bytes explicitly, so
// nothing depends on the host's byte order.
#include <cstdint>

namespace vaultwing::tea {

[[nodiscard]] inline std::uint32_t LoadBE32(const std::uint8_t* p) noexcept {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | std::uint32_t{p[3]};
}

inline void StoreBE32(std::uint8_t* p, std::uint32_t v) noexcept {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}

[[nodiscard]] inline std::uint32_t LoadLE32(const std::uint8_t* p) noexcept {
    return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | std::uint32_t{p[0]};
}

inline void StoreLE32(std::uint8_t* p, std::uint32_t v) noexcept {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

} // namespace vaultwing::tea
