#include "platform/win32/win32_text.h"

#include <windows.h>

#include <climits>

namespace vaultwing::platform::win32 {
namespace {

std::optional<std::wstring> Widen(UINT codePage, DWORD flags, std::string_view text) {
    if (text.empty()) return std::wstring();
    if (text.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    if (needed <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    if (::MultiByteToWideChar(codePage, flags, text.data(), length, wide.data(), needed) != needed) return std::nullopt;
    return wide;
}

// `wide` in `codePage`; with `exact`, nullopt when a character had to be replaced.
std::optional<std::string> Narrow(UINT codePage, std::wstring_view wide, bool exact) {
    if (wide.empty()) return std::string();
    if (wide.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    const int length = static_cast<int>(wide.size());
    // UTF-8 takes neither the flag nor the "default used" report.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* report = utf8 || !exact ? nullptr : &usedDefault;
    const int needed = ::WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, report);
    if (needed <= 0 || usedDefault) return std::nullopt;
    std::string narrow(static_cast<std::size_t>(needed), '\0');
    if (::WideCharToMultiByte(codePage, flags, wide.data(), length, narrow.data(), needed, nullptr, report) != needed ||
        usedDefault)
        return std::nullopt;
    return narrow;
}

} // namespace

std::optional<std::string> ToAnsi(std::string_view utf8) {
    const auto wide = Widen(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
    if (!wide) return std::nullopt;
    return Narrow(CP_ACP, *wide, true);
}

std::string FromAnsi(std::string_view ansi) {
    const auto wide = Widen(CP_ACP, 0, ansi);
    if (!wide) return {};
    return Narrow(CP_UTF8, *wide, false).value_or(std::string());
}

std::optional<std::wstring> ToWide(std::string_view utf8) {
    return Widen(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
}

std::string FromWide(std::wstring_view wide) {
    return Narrow(CP_UTF8, wide, false).value_or(std::string());
}

std::error_code LastError() {
    return {static_cast<int>(::GetLastError()), std::system_category()};
}

} // namespace vaultwing::platform::win32
