// The wildcard matcher on arbitrary names and patterns (the input is split at its first NUL:
// name, then pattern).
// Property: no crash; "*" (and "**") matches every name; a name matches itself as a pattern
// and behind or before a "*" when it holds no wildcard character; and for ASCII input made of
// literals, "?", "#" and "*" only, the result is that of a plain backtracking matcher.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "config/FindFiles.h"

namespace {

// The obvious exponential definition; only run on short inputs.
bool Reference(std::string_view name, std::string_view pattern) {
    if (pattern.empty()) return name.empty();
    const char p = pattern.front();
    if (p == '*') return Reference(name, pattern.substr(1)) || (!name.empty() && Reference(name.substr(1), pattern));
    if (name.empty()) return false;
    const char c = name.front();
    const bool one = p == '?' || (p == '#' ? c >= '0' && c <= '9' : c == p);
    return one && Reference(name.substr(1), pattern.substr(1));
}

bool PlainAscii(std::string_view s, bool allowWildcards) {
    for (const char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80 || c == '[' || c == ']') return false;
        if (!allowWildcards && (c == '*' || c == '?' || c == '#')) return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vaultwing::MatchesPattern;
    using vaultwing::fuzz::Check;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto nul = input.find('\0');
    const std::string_view name = input.substr(0, nul);
    const std::string_view pattern = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);

    const bool result = MatchesPattern(name, pattern);
    Check(MatchesPattern(name, "*"), "\"*\" did not match", name);
    Check(MatchesPattern(name, "**"), "\"**\" did not match", name);
    if (name.find_first_of("*?#[") == std::string_view::npos) {
        Check(MatchesPattern(name, name), "a name did not match itself", name);
        Check(MatchesPattern(name, "*" + std::string(name)), "a name did not match \"*name\"", name);
        Check(MatchesPattern(name, std::string(name) + "*"), "a name did not match \"name*\"", name);
    }
    if (name.size() <= 24 && pattern.size() <= 24 && PlainAscii(name, false) && PlainAscii(pattern, true))
        Check(result == Reference(name, pattern), "differs from the backtracking matcher", pattern);
    return 0;
}
