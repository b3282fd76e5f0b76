#include "base/CaseFold.h"

#include <algorithm>

namespace vaultwing {
namespace {

// Codes above the Unicode range stand for single malformed bytes, so they only equal themselves.
constexpr char32_t kMalformedBase = 0x110000;

// Decodes the code point at `i` and advances `i`.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    const std::size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return kMalformedBase + b0;
    }
    if (len == 1) {
        ++i;
        return b0;
    }
    char32_t cp = b0 & (0x7F >> len);
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kMalformedBase + b0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += len;
    return cp;
}

char32_t FoldCase(char32_t cp) {
    if (cp >= U'A' && cp <= U'Z') return cp + 0x20;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20; // Latin-1 capitals, not ×
    switch (cp) {
    case 0x0160:
        return 0x0161; // Š
    case 0x0152:
        return 0x0153; // Œ
    case 0x017D:
        return 0x017E; // Ž
    case 0x0178:
        return 0x00FF; // Ÿ
    default:
        return cp;
    }
}

} // namespace

int CompareIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = FoldCase(NextCodePoint(a, i));
        const char32_t y = FoldCase(NextCodePoint(b, j));
        if (x != y) return x < y ? -1 : 1;
    }
    if (i == a.size() && j == b.size()) return 0;
    return i == a.size() ? -1 : 1;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return CompareIgnoringCase(a, b) == 0;
}

std::size_t InsertSorted(std::vector<std::string>& list, std::string entry) {
    const auto at = std::upper_bound(list.begin(), list.end(), entry, [](const std::string& x, const std::string& y) {
        return CompareIgnoringCase(x, y) < 0;
    });
    return static_cast<std::size_t>(list.insert(at, std::move(entry)) - list.begin());
}

std::optional<std::size_t> FindListEntry(const std::vector<std::string>& list, std::string_view text) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (EqualsIgnoringCase(list[i], text)) return i;
    return std::nullopt;
}

} // namespace vaultwing
