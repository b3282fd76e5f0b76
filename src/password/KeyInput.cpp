#include "password/KeyInput.h"

#include "base/Cp1252.h"

namespace vaultwing {

bool IsKeyCharacter(char32_t c) {
    if (c >= 0x80 && c <= 0x9F) return false; // C1 controls, also where the code page has gaps
    const int code = Cp1252FromCodePoint(c);
    return code >= 33 && code <= 255;
}

} // namespace vaultwing
