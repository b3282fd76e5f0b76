#pragma once
// Wiping secrets (passwords, key words, deciphered frames) in a way the optimiser cannot remove.
#include <cstddef>
#include <string>

namespace vaultwing {

// Overwrites `size` bytes at `data` with zeros.
void SecureWipe(void* data, std::size_t size) noexcept;

// Overwrites the string's characters (and its spare capacity) with zeros, then empties it.
void WipeString(std::string& text) noexcept;

} // namespace vaultwing
