#pragma once
// The acceptance rule for an encryption password and the quality figure shown while typing.
// Both look at the password as the key sees it: its Windows-1252 bytes, one per character,
// '?' for a character the code page lacks. Neither is applied to decryption passwords.
#include <string_view>

namespace vaultwing {

// False when the password has fewer than 6 characters or consists of two or more copies of a
// shorter string (compared exactly, letter case counts). A trailing partial copy is accepted.
[[nodiscard]] bool IsValidKey(std::string_view password);

// 0..100: 3 points per character, then x1.2 for capitals and small letters together, x1.4 for a
// digit together with a letter, x1.5 for a special character, each step rounded half to even;
// capped at 100. A password IsValidKey refuses scores 0.
[[nodiscard]] int KeyQuality(std::string_view password);

} // namespace vaultwing
