#include "favourites/RelativePaths.h"

#include <cstddef>
#include <string_view>
#include <vector>

#include "base/CaseFold.h"
#include "base/VwxError.h"
#include "config/LangIndices.h"
#include "platform/platform.h"

namespace vaultwing {
namespace {

constexpr const char* kResolveSource = "RelativePaths.ResolvePath";
constexpr const char* kMakeSource = "RelativePaths.MakeRelativePath";
constexpr std::string_view kNetworkPrefix = "\\\\";
// Shown when the language file has no text for the failure.
constexpr const char* kIndexOutOfRangeFallback = "Subscript out of range";

// Splits at every separator, keeping empty parts. An empty text has no parts at all.
std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    if (text.empty()) return parts;
    if (separator.empty()) return {text};
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string::npos) break;
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

// The base's parts. A base that was only the separator (the POSIX root "/") has one part, the
// empty root, like "C:" for "C:\"; without this the root would have no parts at all.
std::vector<std::string> SplitBase(const std::string& trimmed, bool wasOnlySeparator, const std::string& separator) {
    if (trimmed.empty() && wasOnlySeparator) return {std::string()};
    return Split(trimmed, separator);
}

std::string BaseOrCurrent(const std::string& base) {
    return base.empty() ? platform::CurrentDirectory() : base;
}

bool EndsWith(std::string_view text, std::string_view tail) {
    return !tail.empty() && text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

[[noreturn]] void RaiseIndexOutOfRange(const char* source, const LangTable* texts) {
    const std::string* text = texts != nullptr ? &texts->Text(lang::kPathAboveBase) : nullptr;
    throw VwxError(kErrIndexOutOfRange, source, text != nullptr && !text->empty() ? *text : kIndexOutOfRangeFallback);
}

std::string Resolve(const std::string& relative, const std::string& baseIn, const std::string& separator,
                    const LangTable* texts) {
    std::string base = BaseOrCurrent(baseIn);
    bool wasOnlySeparator = false;
    if (EndsWith(base, separator)) {
        wasOnlySeparator = base == separator;
        base.resize(base.size() - separator.size());
    }
    std::string prefix;
    if (base.starts_with(kNetworkPrefix)) {
        base.erase(0, kNetworkPrefix.size());
        prefix = kNetworkPrefix;
    }

    const std::vector<std::string> parts = Split(relative, separator);
    if (parts.empty()) RaiseIndexOutOfRange(kResolveSource, texts);
    if (parts.front() != "..") return prefix + base + separator + relative;

    const std::vector<std::string> baseParts = SplitBase(base, wasOnlySeparator, separator);
    std::size_t steps = 0;
    std::string remainder;
    for (const auto& part : parts) {
        // A ".." after an ordinary part still climbs; the ordinary part stays.
        if (part == "..")
            ++steps;
        else
            remainder += separator + part;
    }
    if (steps >= baseParts.size()) throw VwxError(kErrTooManySteps, kResolveSource, "rpErrTooManySteps");

    std::string result = prefix;
    for (std::size_t i = 0; i < baseParts.size() - steps; ++i)
        result += baseParts[i] + separator;
    if (!remainder.empty()) result += remainder.substr(separator.size());
    return result;
}

} // namespace

std::string ResolvePath(const std::string& relative, const std::string& base, const std::string& separator) {
    return Resolve(relative, base, separator, nullptr);
}

std::string ResolvePath(const std::string& relative, const std::string& base, const std::string& separator,
                        const LangTable& texts) {
    return Resolve(relative, base, separator, &texts);
}

std::string MakeRelativePath(const std::string& pathIn, bool rootCheck, const std::string& baseIn,
                             const std::string& separator, const LangTable& texts) {
    std::string path = pathIn;
    if (path.starts_with(kNetworkPrefix)) path.erase(0, kNetworkPrefix.size());
    const std::vector<std::string> pathParts = Split(path, separator);

    std::string base = BaseOrCurrent(baseIn);
    bool wasOnlySeparator = false;
    if (EndsWith(base, separator)) {
        wasOnlySeparator = base == separator;
        base.resize(base.size() - separator.size());
    }
    if (base.starts_with(kNetworkPrefix)) base.erase(0, kNetworkPrefix.size());
    const std::vector<std::string> baseParts = SplitBase(base, wasOnlySeparator, separator);

    if (rootCheck) {
        if (baseParts.empty() || pathParts.empty()) RaiseIndexOutOfRange(kMakeSource, &texts);
        if (!EqualsIgnoringCase(baseParts[0], pathParts[0]))
            throw VwxError(kErrRootMismatch, kMakeSource, texts.Text(lang::kRootMismatch));
    }

    for (std::size_t i = 1; i < baseParts.size(); ++i) {
        // The path ended while it still matched the base: it lies above the base.
        if (i >= pathParts.size()) RaiseIndexOutOfRange(kMakeSource, &texts);
        if (EqualsIgnoringCase(baseParts[i], pathParts[i])) continue;

        std::string result = "..";
        for (std::size_t j = i; j < pathParts.size(); ++j)
            result += separator + pathParts[j];
        for (std::size_t k = i + 1; k < baseParts.size(); ++k)
            result = ".." + separator + result;
        return result;
    }

    // In the base folder or below it.
    std::string result;
    for (std::size_t j = baseParts.size(); j < pathParts.size(); ++j) {
        if (j > baseParts.size()) result += separator;
        result += pathParts[j];
    }
    return result;
}

} // namespace vaultwing
