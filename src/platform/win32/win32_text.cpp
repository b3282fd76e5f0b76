#include "platform/win32/win32_text.h"

#include <windows.h>
// After windows.h, whose macros it needs.
#include <shellapi.h>

#include <climits>

namespace vaultwing::platform::win32 {

std::optional<std::wstring> ToWide(std::string_view utf8) {
    if (utf8.empty()) return std::wstring();
    if (utf8.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    const int length = static_cast<int>(utf8.size());
    const int needed = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (needed <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(), needed) != needed)
        return std::nullopt;
    return wide;
}

std::string FromWide(std::wstring_view wide) {
    if (wide.empty() || wide.size() > static_cast<std::size_t>(INT_MAX)) return {};
    const int length = static_cast<int>(wide.size());
    const int needed = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    std::string utf8(static_cast<std::size_t>(needed), '\0');
    if (::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), needed, nullptr, nullptr) != needed)
        return {};
    return utf8;
}

std::optional<std::wstring> SystemPath(std::string_view utf8) {
    auto wide = ToWide(utf8);
    // The plain form holds MAX_PATH characters with the NUL; a folder's files need 12 more
    // (an 8.3 name), and a listing appends "\*".
    constexpr std::size_t kPlainLimit = MAX_PATH - 12;
    if (!wide || wide->size() < kPlainLimit || wide->starts_with(LR"(\\?\)") || wide->starts_with(LR"(\\.\)"))
        return wide;
    // The prefix turns off the system's own clean-up ("/" to "\", "." and ".."), so the path is
    // made full here first.
    const DWORD needed = ::GetFullPathNameW(wide->c_str(), 0, nullptr, nullptr);
    if (needed == 0) return wide;
    std::wstring full(needed, L'\0');
    const DWORD n = ::GetFullPathNameW(wide->c_str(), needed, full.data(), nullptr);
    if (n == 0 || n >= needed) return wide;
    full.resize(n);
    if (full.starts_with(LR"(\\)")) return LR"(\\?\UNC\)" + full.substr(2);
    return LR"(\\?\)" + full;
}

bool FitsAnsiCodePage(std::string_view utf8) {
    const auto wide = ToWide(utf8);
    if (!wide || wide->size() > static_cast<std::size_t>(INT_MAX)) return false;
    if (wide->empty()) return true;
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide->data(), static_cast<int>(wide->size()),
                                        nullptr, 0, nullptr, &usedDefault);
    return n > 0 && !usedDefault;
}

std::vector<std::string> SplitArguments(const std::wstring& commandLine) {
    std::vector<std::string> arguments;
    // An empty line would make the system return the program's own path.
    if (commandLine.empty()) return arguments;
    int count = 0;
    LPWSTR* split = ::CommandLineToArgvW(commandLine.c_str(), &count);
    if (split == nullptr) return arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(FromWide(split[i]));
    ::LocalFree(static_cast<HLOCAL>(split));
    return arguments;
}

std::error_code LastError() {
    return {static_cast<int>(::GetLastError()), std::system_category()};
}

} // namespace vaultwing::platform::win32
