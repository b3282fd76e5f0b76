#include "config/LanguageFile.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

#include "base/Cp1252.h"
#include "base/PathNames.h"
#include "config/EnglishLng.inc" // made at build time from lang/English.lng
#include "platform/PathQueries.h"
#include "platform/platform.h"

namespace vaultwing {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        std::size_t len = 0;
        char32_t cp = 0;
        if (b0 < 0x80) {
            ++i;
            continue;
        }
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            len = 2;
            cp = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            len = 3;
            cp = b0 & 0x0F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            len = 4;
            cp = b0 & 0x07;
        } else {
            return false;
        }
        if (i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if (!IsContinuation(b)) return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        i += len;
    }
    return true;
}

// Byte offset of character `n` (0-based) of valid UTF-8 text; the size when it has fewer.
std::size_t CharOffset(std::string_view s, std::size_t n) {
    std::size_t i = 0;
    for (std::size_t count = 0; i < s.size(); ++i) {
        if (IsContinuation(static_cast<unsigned char>(s[i]))) continue;
        if (count++ == n) return i;
    }
    return s.size();
}

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(' ') == std::string_view::npos;
}

// One entry line (UTF-8, not a comment, not blank) into the table. False when its index lies
// outside the table: the table has no such entry, so storing it is a failed step.
bool StoreEntry(std::string_view line, LangTable& table) {
    const std::size_t textStart = CharOffset(line, 4);
    const double number = std::nearbyint(LeadingNumber(line.substr(0, CharOffset(line, 3))));
    if (!(number >= 0.0 && number < LangTable::kSize)) return false;

    std::string text(line.substr(textStart));
    for (char& c : text)
        if (c == '_') c = '\r';
    table.Set(static_cast<int>(number), std::move(text));
    return true;
}

} // namespace

double LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t mantissa = i;
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && IsDigit(text[i]); ++i)
            ++digits;
    if (digits == 0) return 0.0; // a sign or a point alone is no number
    std::size_t end = i;
    // An exponent counts only when at least one digit follows its letter and optional sign.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            end = j;
        }
    }
    double value = 0.0;
    // from_chars knows no leading "+"; the sign is applied here. Out-of-range exponents give
    // result_out_of_range and leave value untouched, so saturate by hand.
    const auto [ptr, ec] = std::from_chars(text.data() + mantissa, text.data() + end, value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        const auto e = text.find_first_of("eE", mantissa);
        value = e < end && text[e + 1] == '-' ? 0.0 : HUGE_VAL;
    }
    return text[start] == '-' ? -value : value;
}

bool ParseLanguageFile(std::string_view contents, LangTable& table) {
    const bool utf8 = contents.substr(0, kUtf8Bom.size()) == kUtf8Bom;
    if (utf8) contents.remove_prefix(kUtf8Bom.size());

    bool ok = true;
    std::size_t pos = 0;
    while (pos < contents.size()) {
        const std::size_t cr = contents.find('\r', pos);
        const std::string_view raw = contents.substr(pos, cr == std::string_view::npos ? cr : cr - pos);
        if (cr == std::string_view::npos)
            pos = contents.size();
        else
            pos = cr + 1 < contents.size() && contents[cr + 1] == '\n' ? cr + 2 : cr + 1;

        if (!raw.empty() && raw.front() == ';') continue;
        if (IsBlank(raw)) continue;
        if (utf8 && !IsValidUtf8(raw)) {
            ok = false; // we will not put broken text into windows
            continue;
        }
        const std::string line = utf8 ? std::string(raw) : Cp1252ToUtf8(raw);
        if (!StoreEntry(line, table)) ok = false;
    }
    return ok;
}

bool LoadLanguageFile(const std::string& path, LangTable& table) {
    if (path.empty() || !FileExists(path) || IsDirectory(path)) return false;

    std::optional<platform::File> file;
    try {
        file.emplace(platform::File::OpenRead(path)); // a FIFO or a device: unreadable
    } catch (const std::system_error&) {
        return false; // nothing read, nothing changed
    }

    std::string contents;
    bool ok = true;
    char buffer[16384];
    try {
        while (const std::size_t got = file->Read(buffer, sizeof buffer))
            contents.append(buffer, got);
    } catch (const std::system_error&) {
        ok = false; // a read error ends the reading; what was read is still used
    }
    file->Close();

    if (!ParseLanguageFile(contents, table)) ok = false;
    return ok && table.HasValidHeader();
}

const LangTable& BuiltInEnglish() {
    static const LangTable english = [] {
        LangTable table;
        (void)ParseLanguageFile(std::string_view(kEnglishLng, sizeof kEnglishLng), table);
        return table;
    }();
    return english;
}

bool LoadLanguage(const std::string& path, LangTable& table) {
    const bool loaded = LoadLanguageFile(path, table);
    // The header stays the file's own: it tells whether a language file was loaded at all.
    for (int index = 1; index < LangTable::kSize; ++index)
        if (table[index].empty()) table.Set(index, BuiltInEnglish()[index]);
    return loaded;
}

} // namespace vaultwing
