#pragma once
// Windows-1252, the single-byte code page of passwords (key bytes) and language files.
#include <string>
#include <string_view>

namespace vaultwing {

// UTF-8 to Windows-1252, one byte per character; '?' for a character the code page lacks
// and for every byte of malformed UTF-8.
[[nodiscard]] std::string Utf8ToCp1252(std::string_view utf8);

// Windows-1252 to UTF-8. The five undefined codes (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the
// C1 control characters of the same number, so every byte survives a round trip.
[[nodiscard]] std::string Cp1252ToUtf8(std::string_view cp1252);

// The Windows-1252 code of one Unicode code point, or -1 when the code page lacks it.
[[nodiscard]] int Cp1252FromCodePoint(char32_t cp);

} // namespace vaultwing
