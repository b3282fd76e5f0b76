// The INI reader and writer on arbitrary file text, names and values.
// Property: no crash; a read never returns more than 254 characters, nor a line feed (a lone CR
// is part of its line, as it is for the profile functions' callers here); when a
// write is accepted, reading the written key gives back the value as the reader gives any
// value (trimmed, quotes removed, cut; the value itself when it is plain), and every other
// key - those named in the file and a fuzzer-chosen one - reads as before. A write is refused
// only for the documented reasons: empty or malformed names, a line break or NUL in the value.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "base/IniText.h"
#include "config/IniFile.h"
#include "platform/platform.h"

namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Characters as the reader counts them: a lead byte with its continuation bytes is one, any
// other byte is one on its own.
std::size_t Characters(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++n) {
        const auto lead = static_cast<unsigned char>(s[i]);
        std::size_t len = lead < 0x80                    ? 1
                          : lead >= 0xC2 && lead <= 0xDF ? 2
                          : lead >= 0xE0 && lead <= 0xEF ? 3
                          : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                         : 1;
        if (s.size() - i < len) len = 1;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) len = 1;
        i += len;
    }
    return n;
}

// The (section, key) pairs the text names, as a reader would look them up.
std::vector<std::pair<std::string, std::string>> NamedKeys(std::string_view content) {
    std::vector<std::pair<std::string, std::string>> keys;
    std::string section;
    std::size_t pos = 0;
    while (pos < content.size() && keys.size() < 64) {
        const auto lf = content.find('\n', pos);
        const std::string_view line = Trim(content.substr(pos, lf == std::string_view::npos ? lf : lf - pos));
        pos = lf == std::string_view::npos ? content.size() : lf + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            if (close != std::string_view::npos) section = std::string(Trim(line.substr(1, close - 1)));
            continue;
        }
        keys.emplace_back(section, std::string(Trim(line.substr(0, line.find('=')))));
    }
    return keys;
}

bool DocumentedRefusal(std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty()) return true;
    // NUL counts as a line break in names too: the system's profile functions end a name there.
    if (section.find_first_of(std::string_view("\r\n\0]", 4)) != std::string_view::npos) return true;
    if (key.find_first_of(std::string_view("\r\n\0=", 4)) != std::string_view::npos || key.front() == '[' ||
        key.front() == ';')
        return true;
    return value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vaultwing;
    using fuzz::Check;
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(32);
    const std::string key = in.ConsumeRandomLengthString(32);
    const std::string value = in.ConsumeRandomLengthString(300);
    const std::string otherSection = in.ConsumeRandomLengthString(16);
    const std::string otherKey = in.ConsumeRandomLengthString(16);
    const std::string content = in.ConsumeRemainingBytesAsString();

    auto probes = NamedKeys(content);
    probes.emplace_back(otherSection, otherKey);
    probes.emplace_back(section, otherKey);
    probes.emplace_back(otherSection, key);

    std::vector<std::string> before;
    for (const auto& [s, k] : probes) {
        before.push_back(IniReadValue(content, s, k));
        Check(Characters(before.back()) <= kIniMaxValueChars, "a read returned too much", before.back());
        Check(before.back().find('\n') == std::string::npos, "a read returned a line feed");
    }

    const auto updated = IniUpdateValue(content, section, key, value);
    if (!updated) {
        Check(DocumentedRefusal(section, key, value), "a write was refused without a documented reason", key);
        return 0;
    }
    Check(!DocumentedRefusal(section, key, value), "a malformed name or value was written", key);

    const std::string got = IniReadValue(*updated, section, key);
    const std::string normalised = IniReadValue("[s]\r\nk=" + value + "\r\n", "s", "k");
    Check(got == normalised, "the written value does not read back", got);
    const bool plain =
        !value.empty() && Characters(value) <= kIniMaxValueChars && Trim(value) == value &&
        !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front());
    if (plain) Check(got == value, "a plain value does not read back as itself", got);

    for (std::size_t i = 0; i < probes.size(); ++i) {
        const auto& [s, k] = probes[i];
        if (SameName(s, section) && SameName(k, key)) continue;
        Check(IniReadValue(*updated, s, k) == before[i], "a write changed another key", k);
    }
    return 0;
}
