#pragma once
// Which characters the password fields take.
namespace vaultwing {

// True for a character that may be typed or pasted into a password field: one whose
// Windows-1252 code lies in 33..255. A space, a control character (C0 or C1) or a character
// the code page lacks (it would reach the key as '?') is refused.
[[nodiscard]] bool IsKeyCharacter(char32_t c);

} // namespace vaultwing
