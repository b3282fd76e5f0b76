#pragma once
// Text at the boundary of the Win32 layer. Inside, every string is UTF-8; the system is asked
// through its wide ("W") calls in UTF-16, so that every name the file system can hold reaches it.
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace vaultwing::platform::win32 {

// UTF-8 as UTF-16; nullopt for text that is not valid UTF-8 (a stand-in character could name
// another file or key).
[[nodiscard]] std::optional<std::wstring> ToWide(std::string_view utf8);
// UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
[[nodiscard]] std::string FromWide(std::wstring_view wide);

// `utf8` as a path for the wide file calls: a path too long for the plain form is made full and
// given the "\\?\" prefix ("\\?\UNC\" for a network path), which lifts the MAX_PATH limit.
[[nodiscard]] std::optional<std::wstring> SystemPath(std::string_view utf8);

// Whether `utf8` is valid UTF-8 the ANSI code page holds whole: what the profile functions write
// to an ANSI settings file reads back unchanged only then.
[[nodiscard]] bool FitsAnsiCodePage(std::string_view utf8);

// What follows the program name in a process's command line (the name quoted or not, and the
// blanks after it), as the system hands it over.
[[nodiscard]] std::string_view ArgumentText(std::string_view commandLine);

// A command line split by the system's argument rules (CommandLineToArgvW), program name first.
[[nodiscard]] std::vector<std::string> SplitArguments(const std::wstring& commandLine);

// The calling thread's last Win32 error as an error code of the system category.
[[nodiscard]] std::error_code LastError();

} // namespace vaultwing::platform::win32
