#pragma once
// Text at the boundary of the Win32 layer. Inside, every string is UTF-8; the ANSI ("A") calls
// take and give the system's ANSI code page.
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace vaultwing::platform::win32 {

// `utf8` in the ANSI code page; nullopt when it is not valid UTF-8 or holds a character that
// code page lacks (a stand-in such as '?' could name another file or key).
[[nodiscard]] std::optional<std::string> ToAnsi(std::string_view utf8);

// ANSI code-page text as UTF-8.
[[nodiscard]] std::string FromAnsi(std::string_view ansi);

// UTF-8 as UTF-16, for the few calls that only take wide text; nullopt for invalid UTF-8.
[[nodiscard]] std::optional<std::wstring> ToWide(std::string_view utf8);
[[nodiscard]] std::string FromWide(std::wstring_view wide);

// What follows the program name in a process's command line (the name quoted or not, and the
// blanks after it), as the system hands it over.
[[nodiscard]] std::string_view ArgumentText(std::string_view commandLine);

// The calling thread's last Win32 error as an error code of the system category.
[[nodiscard]] std::error_code LastError();

} // namespace vaultwing::platform::win32
