#pragma once
// Which characters the password fields take, and whether a whole password can be taken as given.
#include <string_view>

namespace vaultwing {

// True for a character that may be typed or pasted into a password field: one whose
// Windows-1252 code lies in 33..255. A space, a control character (C0, DEL or C1) or a character
// the code page lacks (it would reach the key as '?') is refused.
[[nodiscard]] bool IsKeyCharacter(char32_t c);

enum class KeyUse { Encryption, Decryption };

// True when `utf8` is well-formed UTF-8 and every character is one IsKeyCharacter takes: the
// password then reaches the key exactly as it was written. For decryption a space is taken too,
// because earlier versions of vaultwing took it, and the files made with it must still open.
[[nodiscard]] bool IsKeyText(std::string_view utf8, KeyUse use);

} // namespace vaultwing
