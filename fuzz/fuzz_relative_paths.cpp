// Relative favourites paths: MakeRelativePath and ResolvePath on arbitrary paths and bases,
// with "\" and with "/".
// Property: no crash; failures only as VwxError with the documented numbers (MakeRelativePath:
// 50011 root mismatch, 9 above the base; ResolvePath: 50001 too many steps, 9 empty path);
// and where MakeRelativePath succeeds with the root check on and ResolvePath of its result
// succeeds, the result resolves back to the path, letter case aside. That round trip holds
// only for paths as the program stores them, so it is checked when path and base are both
// "stored" paths: no ".." part (the relative form cannot tell "C:\a\..\b" from "C:\b"), a
// server name after a network prefix (base "\\" and path "\\\x" lose a "\"), and both or
// neither starting with the network prefix "\\" (it is stripped from both before their parts
// are compared, so "srv\a\x" against base "\\srv\a" comes back as "\\srv\a\x").
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "base/CaseFold.h"
#include "base/VwxError.h"
#include "config/LangTable.h"
#include "favourites/RelativePaths.h"

namespace {

// A path as the program stores one: no ".." part, and after a network prefix a server name
// (not an empty one followed by another separator).
bool Stored(std::string_view path, std::string_view separator) {
    if (path.starts_with("\\\\")) {
        path.remove_prefix(2);
        if (path.empty() || path.starts_with(separator)) return false;
    }
    std::size_t start = 0;
    for (;;) {
        const auto at = path.find(separator, start);
        if (path.substr(start, at == std::string_view::npos ? at : at - start) == "..") return false;
        if (at == std::string_view::npos) return true;
        start = at + separator.size();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vaultwing;
    using fuzz::Check;
    static const LangTable texts = [] {
        LangTable t;
        t.Set(508, "root mismatch");
        t.Set(516, "above base");
        return t;
    }();
    FuzzedDataProvider in(data, size);
    const std::string separator = in.ConsumeBool() ? "\\" : "/";
    const bool rootCheck = in.ConsumeBool();
    const std::string base = in.ConsumeRandomLengthString(64);
    const std::string path = in.ConsumeRemainingBytesAsString();

    // The path read as a relative path against the base.
    try {
        (void)ResolvePath(path, base, separator, texts);
    } catch (const VwxError& e) {
        Check(e.Number() == kErrTooManySteps || e.Number() == kErrIndexOutOfRange, "ResolvePath: undocumented error",
              e.what());
    }

    std::string relative;
    try {
        relative = MakeRelativePath(path, rootCheck, base, separator, texts);
    } catch (const VwxError& e) {
        Check(e.Number() == kErrIndexOutOfRange || (rootCheck && e.Number() == kErrRootMismatch),
              "MakeRelativePath: undocumented error", e.what());
        return 0;
    }
    std::string resolved;
    try {
        resolved = ResolvePath(relative, base, separator);
    } catch (const VwxError& e) {
        Check(e.Number() == kErrTooManySteps || e.Number() == kErrIndexOutOfRange, "ResolvePath: undocumented error",
              e.what());
        return 0;
    }
    const bool network = path.starts_with("\\\\");
    const bool stored =
        !base.empty() && Stored(path, separator) && Stored(base, separator) && network == base.starts_with("\\\\");
    if (rootCheck && stored)
        Check(EqualsIgnoringCase(resolved, path), "the relative path does not resolve back", resolved);
    return 0;
}
