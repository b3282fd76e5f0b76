#pragma once
// Vector decryption kernels, built only where the compiler can target them. Each takes the same
// arguments as CbcDecryptScalar and gives the same bytes; CPU support is checked by the caller.
#include <cstddef>
#include <cstdint>

#include "cipher/Cbc.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define VAULTWING_TEA_X86 1
#endif

namespace vaultwing::tea::detail {

#ifdef VAULTWING_TEA_X86
void CbcDecryptSse2(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept;
void CbcDecryptAvx2(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept;
void CbcDecryptAvx512(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept;

// CBC encryption of independent chains, two vectors of them (8, 16, 32).
void CbcEncryptLanesSse2(std::uint8_t* const* lanes, Chain* chains, std::size_t blocks, const KeyWords& key) noexcept;
void CbcEncryptLanesAvx2(std::uint8_t* const* lanes, Chain* chains, std::size_t blocks, const KeyWords& key) noexcept;
void CbcEncryptLanesAvx512(std::uint8_t* const* lanes, Chain* chains, std::size_t blocks, const KeyWords& key) noexcept;

[[nodiscard]] bool CpuHasSse2() noexcept;
[[nodiscard]] bool CpuHasAvx2() noexcept;
[[nodiscard]] bool CpuHasAvx512() noexcept;
#endif

} // namespace vaultwing::tea::detail
