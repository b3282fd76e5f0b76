#pragma once
// UTF-8 text: one character decoded, and text made safe to show on a terminal.
#include <cstddef>
#include <string>
#include <string_view>

namespace vaultwing {

// One character of UTF-8 text. `valid` is false, and `length` 1, for a byte that does not start
// a well-formed sequence: a stray or cut-short byte, an overlong form, a surrogate, a code point
// past U+10FFFF.
struct Utf8Char {
    char32_t codePoint = 0;
    std::size_t length = 1;
    bool valid = false;
};

// The character that starts at `pos` (which must lie inside `utf8`).
[[nodiscard]] Utf8Char DecodeUtf8At(std::string_view utf8, std::size_t pos);

// `text` with every control character (C0, DEL, C1) and every byte that is not well-formed UTF-8
// written as an escape (\t, \n, \r, else \xHH per byte), so that a file name can neither move
// the cursor nor send a terminal a command. Everything else, a backslash too, stays as it is.
// Every file name and every language text goes through it before it reaches a terminal; a name
// inside a message is escaped when the message is built, so that its CR or LF cannot pass for
// one of the message's own line breaks.
[[nodiscard]] std::string EscapeControlCharacters(std::string_view text);

} // namespace vaultwing
