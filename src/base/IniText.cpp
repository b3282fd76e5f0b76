#include "base/IniText.h"

#include <system_error>
#include <utility>
#include <vector>

namespace vaultwing {
namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

enum class LineKind { Blank, Header, Key, Other };

struct Line {
    std::size_t begin = 0; // first byte of the line's text
    std::size_t end = 0;   // one past its text, where the line end starts
    std::size_t next = 0;  // first byte of the following line
    LineKind kind = LineKind::Other;
    std::string_view name;  // section name (Header) or key name (Key), trimmed
    std::string_view value; // Key only: the text after '=', trimmed
};

Line Classify(std::string_view content, std::size_t begin, std::size_t end, std::size_t next) {
    Line line{begin, end, next, LineKind::Other, {}, {}};
    const std::string_view text = Trim(content.substr(begin, end - begin));
    if (text.empty()) {
        line.kind = LineKind::Blank;
    } else if (text.front() == '[') {
        const auto close = text.find(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Header;
            line.name = Trim(text.substr(1, close - 1));
        }
    } else if (text.front() != ';') {
        // A line without '=' is a key without a value, as the profile functions see it.
        const auto eq = text.find('=');
        line.name = Trim(text.substr(0, eq));
        if (eq != std::string_view::npos) line.value = Trim(text.substr(eq + 1));
        if (!line.name.empty()) line.kind = LineKind::Key;
    }
    return line;
}

std::vector<Line> SplitLines(std::string_view content) {
    std::vector<Line> lines;
    // A byte-order mark some editors put in front is not part of the first line's text.
    std::size_t pos = content.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    while (pos < content.size()) {
        const auto lf = content.find('\n', pos);
        const std::size_t next = lf == std::string_view::npos ? content.size() : lf + 1;
        std::size_t end = lf == std::string_view::npos ? content.size() : lf;
        if (end > pos && content[end - 1] == '\r') --end;
        lines.push_back(Classify(content, pos, end, next));
        pos = next;
    }
    return lines;
}

// The lines of the first section named `section`: [first, last) indices into `lines`, where
// `first` is the header. nullopt when there is no such section.
std::optional<std::pair<std::size_t, std::size_t>> FindSection(const std::vector<Line>& lines,
                                                               std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Header || !EqualNoCase(lines[i].name, section)) continue;
        std::size_t last = i + 1;
        while (last < lines.size() && lines[last].kind != LineKind::Header)
            ++last;
        return std::pair{i, last};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, std::pair<std::size_t, std::size_t> range,
                                   std::string_view key) {
    for (std::size_t i = range.first + 1; i < range.second; ++i)
        if (lines[i].kind == LineKind::Key && EqualNoCase(lines[i].name, key)) return i;
    return std::nullopt;
}

bool HasAny(std::string_view text, std::string_view chars) {
    return text.find_first_of(chars) != std::string_view::npos;
}

const std::string_view kBreaks("\r\n\0", 3);

bool ValidKey(std::string_view key) {
    return !key.empty() && !HasAny(key, kBreaks) && key.find('=') == std::string_view::npos && key.front() != '[' &&
           key.front() != ';';
}

bool ValidSection(std::string_view section) {
    return !section.empty() && !HasAny(section, kBreaks) && section.find(']') == std::string_view::npos;
}

// Unsigned length of the UTF-8 sequence starting at `i`, or 0 when none starts there.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else
        return 0;
    if (text.size() - i < length) return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
    return length;
}

} // namespace

std::string CutToChars(std::string_view text, std::size_t maxChars) {
    std::size_t pos = 0;
    for (std::size_t chars = 0; chars < maxChars && pos < text.size(); ++chars) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        pos += length == 0 ? 1 : length;
    }
    return std::string(text.substr(0, pos));
}

std::string IniReadValue(std::string_view content, std::string_view section, std::string_view key) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty()) return {};
    const auto lines = SplitLines(content);
    const auto range = FindSection(lines, section);
    if (!range) return {};
    const auto index = FindKey(lines, *range, key);
    if (!index) return {};
    std::string_view value = lines[*index].value;
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\''))
        value = value.substr(1, value.size() - 2);
    return CutToChars(value, kIniMaxValueChars);
}

std::optional<std::string> IniUpdateValue(std::string_view content, std::string_view section, std::string_view key,
                                          std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (!ValidSection(section) || !ValidKey(key) || HasAny(value, kBreaks)) return std::nullopt;

    const auto lines = SplitLines(content);
    const auto range = FindSection(lines, section);
    std::string result;
    result.reserve(content.size() + section.size() + key.size() + value.size() + 16);

    if (!range) {
        // A new section at the end, set off from what is above by a blank line.
        result.append(content);
        if (!result.empty() && result.back() != '\n') result.append(kLineEnd);
        if (!lines.empty() && lines.back().kind != LineKind::Blank) result.append(kLineEnd);
        result.append("[").append(section).append("]").append(kLineEnd);
        result.append(key).append("=").append(value).append(kLineEnd);
        return result;
    }

    if (const auto index = FindKey(lines, *range, key)) {
        // The key's line is rewritten in place; its name keeps the spelling the file has.
        const Line& line = lines[*index];
        result.append(content.substr(0, line.begin));
        result.append(line.name).append("=").append(value);
        result.append(content.substr(line.end));
        return result;
    }

    // A new key after the last non-blank line of the section, so that blank lines keep
    // separating it from the next one.
    std::size_t last = range->first;
    for (std::size_t i = range->first + 1; i < range->second; ++i)
        if (lines[i].kind != LineKind::Blank) last = i;
    const Line& after = lines[last];
    result.append(content.substr(0, after.next));
    // The file ended without a line feed (perhaps with a lone CR, which ends no line here).
    if (after.next == 0 || content[after.next - 1] != '\n') result.append(kLineEnd);
    result.append(key).append("=").append(value).append(kLineEnd);
    result.append(content.substr(after.next));
    return result;
}

bool IniNameBlank(std::string_view name) {
    return Trim(name).empty();
}

bool IniWritable(std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    return ValidSection(section) && ValidKey(key) && !HasAny(value, kBreaks);
}

} // namespace vaultwing
