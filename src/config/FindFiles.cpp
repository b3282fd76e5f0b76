#include "config/FindFiles.h"

#include <utility>

#include "base/PathNames.h"
#include "base/VwxError.h"
#include "platform/platform.h"

namespace vaultwing {
namespace {

// A byte that does not start valid UTF-8 becomes a code above Unicode, so it matches only
// itself (and the wildcards), never a real character.
constexpr char32_t kRawByteBase = 0x110000;

std::u32string Decode(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        std::size_t len = b0 < 0x80                  ? 1
                          : b0 >= 0xC2 && b0 <= 0xDF ? 2
                          : b0 >= 0xE0 && b0 <= 0xEF ? 3
                          : b0 >= 0xF0 && b0 <= 0xF4 ? 4
                                                     : 0;
        char32_t cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
        if (len == 0 || i + len > s.size()) len = 0;
        for (std::size_t k = 1; k < len; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80) {
                len = 0;
                break;
            }
            cp = (cp << 6) | (b & 0x3F);
        }
        if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
            len = 0;
        if (len == 0) {
            out.push_back(kRawByteBase + b0);
            ++i;
        } else {
            out.push_back(cp);
            i += len;
        }
    }
    return out;
}

// One pattern element. Every kind but Star matches exactly one character.
struct Token {
    enum Kind { Star, Any, Digit, Set, Literal };
    explicit Token(Kind k, char32_t c = 0) : kind(k), ch(c) {}

    Kind kind;
    char32_t ch;                                       // Literal
    bool negate = false;                               // Set
    std::vector<std::pair<char32_t, char32_t>> ranges; // Set: inclusive ranges
};

std::vector<Token> Tokenize(const std::u32string& p) {
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        if (c == U'*') {
            if (tokens.empty() || tokens.back().kind != Token::Star) tokens.emplace_back(Token::Star);
        } else if (c == U'?') {
            tokens.emplace_back(Token::Any);
        } else if (c == U'#') {
            tokens.emplace_back(Token::Digit);
        } else if (c == U'[' && p.find(U']', i + 1) != std::u32string::npos) {
            const std::size_t close = p.find(U']', i + 1);
            std::size_t j = i + 1;
            if (j == close) { // "[]": no character at all
                i = close;
                continue;
            }
            Token set(Token::Set);
            if (p[j] == U'!') {
                set.negate = true;
                ++j;
            }
            while (j < close) {
                // A "-" between two characters makes a range; at either end it is itself.
                if (j + 2 < close && p[j + 1] == U'-') {
                    set.ranges.emplace_back(p[j], p[j + 2]);
                    j += 3;
                } else {
                    set.ranges.emplace_back(p[j], p[j]);
                    ++j;
                }
            }
            tokens.push_back(std::move(set));
            i = close;
        } else {
            tokens.emplace_back(Token::Literal, c);
        }
    }
    return tokens;
}

bool MatchesOne(const Token& t, char32_t c) {
    switch (t.kind) {
    case Token::Any:
        return true;
    case Token::Digit:
        return c >= U'0' && c <= U'9';
    case Token::Literal:
        return c == t.ch;
    case Token::Set: {
        bool in = false;
        for (const auto& [lo, hi] : t.ranges) // a descending range holds nothing
            if (c >= lo && c <= hi) in = true;
        return in != t.negate;
    }
    case Token::Star:
        break;
    }
    return false;
}

long FindFilesIn(const std::string& path, std::vector<std::string>& files, const std::string& pattern,
                 std::uint32_t attributes, bool recursive) {
    std::string folder = path;
    if (folder.empty() || folder.back() != platform::kPathSeparator) folder.push_back(platform::kPathSeparator);

    // Collect first: recursing inside the callback would keep one directory handle open per
    // level, and the names the callback sees are only valid during it.
    std::vector<std::pair<std::string, platform::EntryKind>> entries;
    const bool listed = !path.empty() && platform::EnumerateDirectory(folder, [&](const platform::DirEntry& e) {
        entries.emplace_back(std::string(e.name), e.kind);
    });
    if (!listed) throw VwxError(76, "LanguageWindow.FindFiles", "Path not found");

    long count = 0;
    for (const auto& [name, kind] : entries) {
        const std::string full = folder + name;
        if (kind == platform::EntryKind::DirectoryLink) continue;
        if (kind == platform::EntryKind::Directory) {
            if (recursive) count += FindFilesIn(full, files, pattern, attributes, recursive);
            continue;
        }
        const auto attrs = platform::FileAttributes(full);
        if (!attrs || (*attrs & platform::kAttrDirectory) != 0) continue; // gone, or became a folder
        if ((*attrs & attributes) != attributes) continue;
        if (!MatchesPattern(LowerAscii(name), pattern)) continue;
        files.push_back(full);
        ++count;
    }
    return count;
}

} // namespace

bool MatchesPattern(std::string_view name, std::string_view pattern) {
    const std::u32string text = Decode(name);
    const std::vector<Token> tokens = Tokenize(Decode(pattern));

    // Every token but the star takes one character, so the classic two-pointer walk with one
    // remembered star is exact and never backtracks further than the last star.
    std::size_t t = 0, c = 0;
    std::size_t starToken = std::string_view::npos, starChar = 0;
    while (c < text.size()) {
        if (t < tokens.size() && tokens[t].kind == Token::Star) {
            starToken = t++;
            starChar = c;
        } else if (t < tokens.size() && MatchesOne(tokens[t], text[c])) {
            ++t;
            ++c;
        } else if (starToken != std::string_view::npos) {
            t = starToken + 1;
            c = ++starChar;
        } else {
            return false;
        }
    }
    while (t < tokens.size() && tokens[t].kind == Token::Star)
        ++t;
    return t == tokens.size();
}

long FindFiles(const std::string& path, std::vector<std::string>& files, std::string pattern, std::uint32_t attributes,
               bool recursive) {
    pattern = LowerAscii(std::move(pattern));
    return FindFilesIn(path, files, pattern, attributes, recursive);
}

} // namespace vaultwing
