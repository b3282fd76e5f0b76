#include "base/Utf8.h"

namespace vaultwing {

Utf8Char DecodeUtf8At(std::string_view utf8, std::size_t pos) {
    const auto b0 = static_cast<unsigned char>(utf8[pos]);
    const std::size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || pos + len > utf8.size()) return {};
    char32_t cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(utf8[pos + k]);
        if ((b & 0xC0) != 0x80) return {};
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return {};
    return {cp, len, true};
}

std::string EscapeControlCharacters(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char c = DecodeUtf8At(text, i);
        const bool control = c.codePoint < 0x20 || (c.codePoint >= 0x7F && c.codePoint <= 0x9F);
        if (c.valid && !control) {
            out.append(text.substr(i, c.length));
        } else if (c.valid && (c.codePoint == '\t' || c.codePoint == '\n' || c.codePoint == '\r')) {
            out += c.codePoint == '\t' ? "\\t" : c.codePoint == '\n' ? "\\n" : "\\r";
        } else {
            for (std::size_t k = 0; k < c.length; ++k) {
                const auto b = static_cast<unsigned char>(text[i + k]);
                out += {'\\', 'x', kHex[b >> 4], kHex[b & 0xF]};
            }
        }
        i += c.length;
    }
    return out;
}

} // namespace vaultwing
