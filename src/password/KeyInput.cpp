#include "password/KeyInput.h"

#include "base/Cp1252.h"
#include "base/Utf8.h"

namespace vaultwing {

bool IsKeyCharacter(char32_t c) {
    if (c >= 0x80 && c <= 0x9F) return false; // C1 controls, also where the code page has gaps
    const int code = Cp1252FromCodePoint(c);
    return code >= 33 && code <= 255 && code != 0x7F; // DEL is a control character too
}

bool IsKeyText(std::string_view utf8, KeyUse use) {
    for (std::size_t i = 0; i < utf8.size();) {
        const Utf8Char c = DecodeUtf8At(utf8, i);
        if (!c.valid || !(IsKeyCharacter(c.codePoint) || (use == KeyUse::Decryption && c.codePoint == U' ')))
            return false;
        i += c.length;
    }
    return true;
}

} // namespace vaultwing
