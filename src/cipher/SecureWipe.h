#pragma once
// Overwrites secrets (key words, deciphered buffers) with zeros in a way the optimiser may not
// drop, even when the memory is never read again.
#include <cstddef>

namespace vaultwing {

void SecureWipe(void* data, std::size_t size) noexcept;

} // namespace vaultwing
