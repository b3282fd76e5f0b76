// Win32 implementation of the platform layer: files, folders, settings files, process and
// keyboard. Shell integration is in shell_win32.cpp and registry.cpp.
#include "platform/platform.h"

#include <windows.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <random>

#include "base/IniText.h"
#include "platform/HotRegionKeys.h"
#include "platform/ProgramArguments.h"
#include "platform/win32/win32_text.h"

namespace vaultwing::platform {

using win32::FromWide;
using win32::LastError;
using win32::SystemPath;
using win32::ToWide;

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// A path without trailing separators, except for a root such as "C:\".
std::string StripTrailingSeparators(std::string path) {
    while (path.size() > 1 && IsSeparator(path.back()) && !(path.size() == 3 && path[1] == ':'))
        path.pop_back();
    return path;
}

std::size_t LastSeparator(const std::string& path) {
    return path.find_last_of("\\/");
}

struct HandleCloser {
    void operator()(HANDLE h) const noexcept {
        if (h != INVALID_HANDLE_VALUE && h != nullptr) ::CloseHandle(h);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

std::error_code NameError() {
    return {ERROR_INVALID_NAME, std::system_category()};
}

// The system's attributes of `path`, or nullopt.
std::optional<DWORD> RawAttributes(const std::string& path) {
    const auto wide = SystemPath(path);
    if (!wide || wide->empty()) return std::nullopt;
    const DWORD attrs = ::GetFileAttributesW(wide->c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attrs;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Program folder and working directory
// ---------------------------------------------------------------------------------------------

std::string ProgramFolder() {
    if (const std::string home = EnvironmentVariable("VAULTWING_HOME"); !home.empty())
        return StripTrailingSeparators(home);
    return ExecutableFolder();
}

std::string EnvironmentVariable(const char* name) {
    const auto wideName = ToWide(name);
    if (!wideName || wideName->empty()) return {};
    // The value may change between the two calls: asked again until it fits.
    std::wstring value;
    for (DWORD size = 0;;) {
        const DWORD n = ::GetEnvironmentVariableW(wideName->c_str(), value.data(), size);
        if (n == 0) return {};
        if (n < size) {
            value.resize(n);
            return FromWide(value);
        }
        size = n;
        value.assign(size, L'\0');
    }
}

std::string UserHomeFolder() {
    return StripTrailingSeparators(EnvironmentVariable("USERPROFILE"));
}

std::string ExecutableFolder() {
    const std::string executable = ExecutablePath();
    const auto slash = LastSeparator(executable);
    if (slash == std::string::npos) return CurrentDirectory();
    return StripTrailingSeparators(executable.substr(0, slash + 1));
}

std::string ExecutablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return FromWide(buffer);
        }
        if (buffer.size() >= 32768) return {}; // longer than any path can be
        buffer.resize(buffer.size() * 2);
    }
}

std::string CurrentDirectory() {
    const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return ".";
    std::wstring buffer(needed, L'\0');
    const DWORD n = ::GetCurrentDirectoryW(needed, buffer.data());
    if (n == 0 || n >= needed) return ".";
    buffer.resize(n);
    return StripTrailingSeparators(FromWide(buffer));
}

// ---------------------------------------------------------------------------------------------
// File facts
// ---------------------------------------------------------------------------------------------

std::optional<std::uint32_t> FileAttributes(const std::string& path) {
    const auto attrs = RawAttributes(path);
    if (!attrs) return std::nullopt;
    return static_cast<std::uint32_t>(*attrs);
}

bool SetReadOnly(const std::string& path, bool readOnly) {
    const auto wide = SystemPath(path);
    if (!wide || wide->empty()) return false;
    const DWORD attrs = ::GetFileAttributesW(wide->c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return false;
    DWORD wanted = readOnly ? (attrs | FILE_ATTRIBUTE_READONLY) : (attrs & ~DWORD{FILE_ATTRIBUTE_READONLY});
    // Bits SetFileAttributes does not take are dropped; "normal" stands alone.
    wanted &= FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;
    if (wanted == 0) wanted = FILE_ATTRIBUTE_NORMAL;
    return ::SetFileAttributesW(wide->c_str(), wanted) != 0;
}

std::int64_t FileSize(const std::string& path) {
    const auto wide = SystemPath(path);
    if (!wide || wide->empty()) return -1;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &data)) return -1;
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

// ---------------------------------------------------------------------------------------------
// Directory enumeration
// ---------------------------------------------------------------------------------------------

bool EnumerateDirectory(const std::string& folder, const std::function<void(const DirEntry&)>& visit) {
    if (folder.empty()) return false;
    const auto wide = SystemPath(folder);
    if (!wide || wide->empty()) return false;
    const std::wstring pattern = *wide + (wide->back() == L'\\' || wide->back() == L'/' ? L"*" : L"\\*");
    WIN32_FIND_DATAW data{};
    HANDLE found = ::FindFirstFileW(pattern.c_str(), &data);
    if (found == INVALID_HANDLE_VALUE) {
        // Only a drive's root can be a folder without even "." and "..": an empty listing.
        return ::GetLastError() == ERROR_FILE_NOT_FOUND && RawAttributes(folder).has_value();
    }
    // Closed on every way out, a throwing `visit` included.
    const std::unique_ptr<void, BOOL (*)(HANDLE)> search(found, [](HANDLE h) { return ::FindClose(h); });
    do {
        const std::wstring_view raw(data.cFileName);
        if (raw == L"." || raw == L"..") continue;
        EntryKind kind = EntryKind::File;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            // A symbolic link or junction to a folder is reported, never followed.
            kind = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? EntryKind::DirectoryLink
                                                                               : EntryKind::Directory;
        else if ((data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0) // reserved for the system; not met in practice
            kind = EntryKind::Special;
        const std::string name = FromWide(raw);
        visit(DirEntry{name, kind});
    } while (::FindNextFileW(found, &data));
    return ::GetLastError() == ERROR_NO_MORE_FILES; // else the listing was cut short
}

namespace {

// The system's own error for the portable conditions the program raises itself, so that every
// message comes in the system's language.
DWORD SystemErrorFor(const std::error_code& ec) {
    if (ec.category() == std::system_category()) return static_cast<DWORD>(ec.value());
    if (ec.category() != std::generic_category()) return 0;
    switch (static_cast<std::errc>(ec.value())) {
    case std::errc::no_such_file_or_directory:
        return ERROR_FILE_NOT_FOUND;
    case std::errc::permission_denied:
        return ERROR_ACCESS_DENIED;
    case std::errc::io_error:
        return ERROR_IO_DEVICE;
    case std::errc::is_a_directory:
        return 336; // ERROR_DIRECTORY_NOT_SUPPORTED
    case std::errc::file_exists:
        return ERROR_FILE_EXISTS;
    case std::errc::file_too_large:
        return ERROR_FILE_TOO_LARGE;
    case std::errc::no_space_on_device:
        return ERROR_DISK_FULL;
    default:
        return 0;
    }
}

} // namespace

std::string ErrorDescription(const std::error_code& ec) {
    std::string text;
    if (const DWORD code = SystemErrorFor(ec); code != 0) {
        wchar_t* message = nullptr;
        const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                             FORMAT_MESSAGE_IGNORE_INSERTS,
                                         nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
        if (n > 0 && message != nullptr) text = FromWide(std::wstring_view(message, n));
        if (message != nullptr) ::LocalFree(message);
    }
    if (text.empty()) text = ec.message();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (!text.empty() && text.back() != '.') text.push_back('.');
    return text;
}

// ---------------------------------------------------------------------------------------------
// File
// ---------------------------------------------------------------------------------------------

namespace {

HANDLE AsHandle(std::intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}
std::intptr_t FromHandle(HANDLE h) {
    return reinterpret_cast<std::intptr_t>(h);
}

// The largest piece one ReadFile or WriteFile call is given.
constexpr std::size_t kMaxIo = 1u << 30;

} // namespace

File::File(File&& other) noexcept : handle_(other.handle_) {
    other.handle_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = -1;
    }
    return *this;
}

File::~File() {
    Close();
}

File File::OpenRead(const std::string& path) {
    const auto wide = SystemPath(path);
    if (!wide || wide->empty())
        throw std::system_error(wide ? std::error_code(ERROR_FILE_NOT_FOUND, std::system_category()) : NameError(),
                                "open");
    if (const auto attrs = RawAttributes(path); attrs && (*attrs & FILE_ATTRIBUTE_DIRECTORY) != 0)
        throw std::system_error(std::make_error_code(std::errc::is_a_directory), "open");
    // Others may read along but not change the file while it is read; it may be renamed over
    // (a file written onto itself replaces its source only once it has been read whole).
    const HANDLE h = ::CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::system_error(LastError(), "open");
    File file(FromHandle(h));
    // A named pipe or a device (CON, NUL) is no file that can be read whole.
    if (::GetFileType(h) != FILE_TYPE_DISK)
        throw std::system_error(std::make_error_code(std::errc::invalid_argument), "open");
    return file;
}

// Permission bits are a POSIX matter: a new file takes its folder's access rules.
File File::CreateTempBeside(const std::string& beside, std::string& tempPath, const std::string& /*accessLike*/) {
    const auto slash = LastSeparator(beside);
    const std::string folder = slash == std::string::npos ? std::string() : beside.substr(0, slash + 1);
    // Only a prefix of the name goes into the temporary one, so that a destination whose name
    // is near the system's limit still gets a temporary name that fits.
    constexpr std::size_t kMaxNamePart = 64;
    const std::string name = CutToChars(slash == std::string::npos ? beside : beside.substr(slash + 1), kMaxNamePart);
    std::random_device random;
    static const char kHex[] = "0123456789abcdef";
    for (int attempt = 0; attempt < 100; ++attempt) {
        // No leading dot: Wine marks such names hidden, and the mark would stay after the rename.
        std::string candidate = folder + "~" + name + ".";
        for (unsigned v = random(), i = 0; i < 8; ++i, v >>= 4)
            candidate.push_back(kHex[v & 0xF]);
        candidate += ".tmp";
        const auto wide = SystemPath(candidate);
        if (!wide) throw std::system_error(NameError(), "create");
        // CREATE_NEW never opens a file that is already there; nobody else may open it meanwhile.
        const HANDLE h = ::CreateFileW(wide->c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            tempPath = candidate;
            return File(FromHandle(h));
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            throw std::system_error(static_cast<int>(error), std::system_category(), "create");
    }
    throw std::system_error(ERROR_FILE_EXISTS, std::system_category(), "create");
}

bool File::IsOpen() const noexcept {
    return handle_ != -1;
}

std::size_t File::Read(void* data, std::size_t size) {
    DWORD got = 0;
    if (!::ReadFile(AsHandle(handle_), data, static_cast<DWORD>(std::min(size, kMaxIo)), &got, nullptr))
        throw std::system_error(LastError(), "read");
    return got;
}

std::size_t File::ReadFull(void* data, std::size_t size) {
    auto* bytes = static_cast<unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const std::size_t n = Read(bytes + done, size - done);
        if (n == 0) break;
        done += n;
    }
    return done;
}

void File::Write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        DWORD written = 0;
        if (!::WriteFile(AsHandle(handle_), bytes, static_cast<DWORD>(std::min(size, kMaxIo)), &written, nullptr))
            throw std::system_error(LastError(), "write");
        if (written == 0) throw std::system_error(std::make_error_code(std::errc::io_error), "write");
        bytes += written;
        size -= written;
    }
}

std::int64_t File::Size() const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(AsHandle(handle_), &size)) throw std::system_error(LastError(), "size");
    return static_cast<std::int64_t>(size.QuadPart);
}

void File::Sync() {
    if (!::FlushFileBuffers(AsHandle(handle_))) throw std::system_error(LastError(), "sync");
}

void File::Close() noexcept {
    if (handle_ != -1) {
        ::CloseHandle(AsHandle(handle_));
        handle_ = -1;
    }
}

namespace {

// Write-through: the call returns only once the move is on the disk.
void MoveEntry(const std::string& from, const std::string& to, DWORD flags) {
    const auto source = SystemPath(from);
    const auto target = SystemPath(to);
    if (!source || !target) throw std::system_error(NameError(), "rename");
    if (!::MoveFileExW(source->c_str(), target->c_str(), flags | MOVEFILE_WRITE_THROUGH))
        throw std::system_error(LastError(), "rename");
}

} // namespace

void RenameReplace(const std::string& from, const std::string& to) {
    MoveEntry(from, to, MOVEFILE_REPLACE_EXISTING);
}

// Without MOVEFILE_REPLACE_EXISTING the move fails on an existing name, atomically.
void RenameNoReplace(const std::string& from, const std::string& to) {
    MoveEntry(from, to, 0);
}

std::size_t FreeFileDescriptors() {
    return std::numeric_limits<std::size_t>::max(); // file handles have no per-process limit to size to
}

bool OutOfFileDescriptors(const std::error_code& ec) {
    return ec == std::error_code(static_cast<int>(ERROR_TOO_MANY_OPEN_FILES), std::system_category()) ||
           ec == std::errc::too_many_files_open;
}

bool RemoveFile(const std::string& path) noexcept {
    try {
        const auto wide = SystemPath(path);
        return wide && !wide->empty() && ::DeleteFileW(wide->c_str()) != 0;
    } catch (...) {
        return false;
    }
}

// NTFS commits its folder entries through its own journal.
bool SyncFolderOf(const std::string& /*path*/) {
    return true;
}

namespace {

// The volume and the file number of an open file, as FileIdentity holds them.
std::uint64_t FileNumber(const BY_HANDLE_FILE_INFORMATION& info) {
    return (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
}

} // namespace

std::optional<FileIdentity> IdentifyFile(const std::string& path, bool followLink) {
    const auto wide = SystemPath(path);
    if (!wide || wide->empty()) return std::nullopt;
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const UniqueHandle h(::CreateFileW(wide->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, flags, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (h.get() == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(h.get(), &info)) return std::nullopt;
    const DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return FileIdentity{info.dwVolumeSerialNumber, FileNumber(info),
                        (info.dwFileAttributes & notPlain) == 0 && info.nNumberOfLinks <= 1};
}

std::optional<EntryIdentity> IdentifyEntry(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && (trimmed.back() == '\\' || trimmed.back() == '/'))
        trimmed.pop_back();
    const auto cut = trimmed.find_last_of("\\/");
    if (cut == std::string::npos) return std::nullopt; // the program's paths are absolute
    std::string name = trimmed.substr(cut + 1);
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    const auto folder = IdentifyFile(trimmed.substr(0, cut + 1), true); // a link to it followed
    // NTFS compares names without regard to case.
    auto folded = win32::ToWide(name);
    if (!folder || !folded) return std::nullopt;
    ::CharUpperBuffW(folded->data(), static_cast<DWORD>(folded->size()));
    return EntryIdentity{*folder, win32::FromWide(*folded)};
}

// ---------------------------------------------------------------------------------------------
// Destroying sources and the in-use test
// ---------------------------------------------------------------------------------------------

namespace {

// True when `path` is a writable plain file with this one name. Through a symbolic link the truncation
// would empty the target while only the link is deleted; with further hard links the other
// names would be left pointing at an emptied file. Asked on a handle that claims no access, so
// that it disturbs no other program.
bool SingleNamedPlainFile(const std::wstring& widePath) {
    // A read-only file stays whole: checked here too, because Wine run by root would open it.
    const DWORD attrs = ::GetFileAttributesW(widePath.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                                                      FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY)) != 0)
        return false;
    const UniqueHandle h(::CreateFileW(widePath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (h.get() == INVALID_HANDLE_VALUE) return true; // judged by the real open below
    BY_HANDLE_FILE_INFORMATION info{};
    return !::GetFileInformationByHandle(h.get(), &info) || info.nNumberOfLinks <= 1;
}

} // namespace

bool DestroyFile(const std::string& path, const std::optional<FileIdentity>& expected) {
    const auto wide = SystemPath(path);
    if (!wide || wide->empty() || !SingleNamedPlainFile(*wide)) return false;
    // Opened without truncation. The open fails, and the file stays whole, while it is read-only or
    // another program holds it without sharing its writes and its deletion.
    const UniqueHandle h(::CreateFileW(wide->c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_WRITE_THROUGH | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (h.get() == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    if (expected && (!::GetFileInformationByHandle(h.get(), &info) || info.dwVolumeSerialNumber != expected->device ||
                     FileNumber(info) != expected->number))
        return false;
    // Marked for deletion before it is cut: the system deletes it when the last handle closes,
    // also when the process is ended, so that a kill at any moment leaves the whole file or no
    // name at all. (After a power cut the mark is lost with the handle while the write-through cut
    // may be on disk; only a POSIX-semantics delete of newer systems would close that gap.)
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    if (!::SetFileInformationByHandle(h.get(), FileDispositionInfo, &disposition, sizeof disposition)) return false;
    FILE_END_OF_FILE_INFO end{};
    (void)::SetFileInformationByHandle(h.get(), FileEndOfFileInfo, &end, sizeof end);
    (void)::FlushFileBuffers(h.get());
    return true; // the handle closes here, and the file goes with it
}

bool FileInUse(const std::string& path) {
    const auto wide = SystemPath(path);
    if (!wide || wide->empty()) return false;
    // An exclusive open fails with a sharing violation exactly when someone else has it open.
    const HANDLE h =
        ::CreateFileW(wide->c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_SHARING_VIOLATION;
    ::CloseHandle(h);
    return false;
}

// ---------------------------------------------------------------------------------------------
// Settings files: the system's profile functions
// ---------------------------------------------------------------------------------------------

namespace {

// A settings file the program's own INI code would refuse: too large to be one of ours.
bool OversizedProfile(const std::string& file) {
    return FileSize(file) > static_cast<std::int64_t>(kIniMaxFileSize);
}

} // namespace

std::string ProfileRead(const std::string& file, const std::string& section, const std::string& key) {
    if (OversizedProfile(file)) return {};
    const auto wideFile = SystemPath(file);
    const auto wideSection = ToWide(section);
    const auto wideKey = ToWide(key);
    if (!wideFile || !wideSection || !wideKey || wideKey->empty() || wideSection->empty() || wideFile->empty())
        return {};
    // 255 characters: a value reads as at most 254 of them.
    constexpr DWORD kChars = 255;
    wchar_t buffer[kChars] = {};
    const DWORD n =
        ::GetPrivateProfileStringW(wideSection->c_str(), wideKey->c_str(), L"", buffer, kChars, wideFile->c_str());
    return FromWide(std::wstring_view(buffer, std::min<DWORD>(n, kChars - 1)));
}

bool ProfileWrite(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& value) {
    // Names and values that would change other lines or not read back are not written; neither
    // is text the ANSI code page cannot hold, which would read back as something else.
    if (!IniWritable(section, key, value)) return false;
    if (!win32::FitsAnsiCodePage(section) || !win32::FitsAnsiCodePage(key) || !win32::FitsAnsiCodePage(value))
        return false;
    const auto wideFile = SystemPath(file);
    const auto wideSection = ToWide(section);
    const auto wideKey = ToWide(key);
    const auto wideValue = ToWide(value);
    if (!wideFile || !wideSection || !wideKey || !wideValue || wideFile->empty()) return false;
    // A read-only file is left alone (Wine run by root would write it anyway), and so is one
    // too large to be ours.
    if (const auto attrs = RawAttributes(file);
        attrs && ((*attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0 || OversizedProfile(file)))
        return false;
    return ::WritePrivateProfileStringW(wideSection->c_str(), wideKey->c_str(), wideValue->c_str(),
                                        wideFile->c_str()) != 0;
}

// ---------------------------------------------------------------------------------------------
// Process and keyboard
// ---------------------------------------------------------------------------------------------

// TerminateProcess rather than the debugging call FatalExit, whose documentation warns that it
// may not close files and may hand control to a debugger. The effect is the one wanted: the
// process ends at once with code 0, no unload steps, nothing saved.
void FatalExit() {
    ::TerminateProcess(::GetCurrentProcess(), 0);
    ::ExitProcess(0); // not reached
}

namespace {
volatile std::sig_atomic_t gStopSignal = 0;
extern "C" void NoteStopSignal(int signal) {
    gStopSignal = signal;
}
} // namespace

void CatchStopSignals() {
    std::signal(SIGINT, NoteStopSignal);
    std::signal(SIGTERM, NoteStopSignal);
}

int StopSignal() {
    return gStopSignal;
}

bool SignalEndsProgram(int signal) {
    return signal == SIGTERM;
}

void EndBySignal(int signal) {
    std::_Exit(128 + signal);
}

bool CapsLockOn() {
    // Low bit: toggled on; high bit: held down. 1 = on, -127 = on while the key is pressed.
    const SHORT state = ::GetKeyState(VK_CAPITAL);
    return state == 1 || state == -127;
}

bool AsyncKeyDown(int virtualKey) {
    const SHORT state = ::GetAsyncKeyState(virtualKey);
    // Escape also counts when it was pressed since the last query (a short tap between two
    // timer ticks); Ctrl and Shift must be held.
    if (virtualKey == kVkEscape) return state != 0;
    return (static_cast<unsigned short>(state) & 0x8000U) != 0;
}

void WatchHotRegionKeys(bool on) {
    // Windows keeps the key state itself; only an Escape pressed long ago is used up here, so
    // that its "pressed since the last query" bit does not count at the first tick.
    if (on) (void)::GetAsyncKeyState(kVkEscape);
}

std::optional<ScreenPoint> CursorPosition() {
    POINT point{};
    if (!::GetCursorPos(&point)) return std::nullopt;
    return ScreenPoint{static_cast<int>(point.x), static_cast<int>(point.y)};
}

namespace {

void AppendCodePoint(char32_t c, Secret& password) {
    if (c < 0x80) {
        password.append(static_cast<char>(c));
        return;
    }
    const int continuation = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
    password.append(static_cast<char>(kLead[continuation] | (c >> (6 * continuation))));
    for (int i = continuation - 1; i >= 0; --i)
        password.append(static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F)));
}

// Appends one UTF-16 unit typed at the console to `password` as UTF-8. A high surrogate waits in
// `pendingHigh` for its partner; a unit without one becomes U+FFFD, as the system's conversion does.
void AppendTypedUnit(wchar_t unit, char32_t& pendingHigh, Secret& password) {
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    char32_t c = unit;
    if (low && pendingHigh != 0) {
        c = 0x10000 + ((pendingHigh - 0xD800) << 10) + (c - 0xDC00);
    } else {
        if (pendingHigh != 0) AppendCodePoint(0xFFFD, password);
        if (low) c = 0xFFFD;
    }
    pendingHigh = high ? c : 0;
    if (!high) AppendCodePoint(c, password);
    c = 0;
}

} // namespace

std::optional<Secret> ReadPasswordFromTerminal(const std::string& prompt) {
    const UniqueHandle in(::CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    const UniqueHandle out(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD saved = 0;
    if (in.get() == INVALID_HANDLE_VALUE || !::GetConsoleMode(in.get(), &saved)) return std::nullopt;
    ::SetConsoleMode(in.get(), (saved | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT) & ~DWORD{ENABLE_ECHO_INPUT});
    const bool haveOut = out.get() != INVALID_HANDLE_VALUE;
    DWORD written = 0;
    if (haveOut) {
        if (const auto wide = ToWide(prompt))
            ::WriteConsoleW(out.get(), wide->data(), static_cast<DWORD>(wide->size()), &written, nullptr);
    }
    // Wide reading keeps every character the user typed; each one goes into the password as UTF-8
    // at once, so no other copy of it is kept.
    constexpr std::size_t kMaxChars = 1024;
    Secret password;
    std::size_t typed = 0;
    char32_t pending = 0;
    bool ended = false;
    for (;;) {
        wchar_t c = 0;
        DWORD got = 0;
        if (!::ReadConsoleW(in.get(), &c, 1, &got, nullptr) || got == 0) break;
        if (c == L'\r') { // the line ends in CR LF: take the LF too, or the next read finds it
            (void)::ReadConsoleW(in.get(), &c, 1, &got, nullptr);
            ended = true;
            break;
        }
        if (c == L'\n') {
            ended = true;
            break;
        }
        if (++typed <= kMaxChars) AppendTypedUnit(c, pending, password);
        c = 0;
    }
    if (pending != 0) AppendCodePoint(0xFFFD, password); // a high surrogate without its partner
    ::SetConsoleMode(in.get(), saved);
    if (haveOut) ::WriteConsoleW(out.get(), L"\r\n", 2, &written, nullptr);
    if (typed > kMaxChars || (!ended && password.empty())) return std::nullopt;
    return password;
}

SecretLineRead ReadSecretLine(const std::string& path, std::size_t limit, Secret& line) {
    line.clear();
    const bool standardInput = path == "-";
    std::FILE* in = standardInput ? stdin : OpenCFile(path, "rb");
    if (in == nullptr) return SecretLineRead::Unreadable;
    std::setvbuf(in, nullptr, _IONBF, 0);
    SecretLineRead result = SecretLineRead::Read;
    bool any = false;
    int c = 0;
    while ((c = std::fgetc(in)) != EOF) {
        if (const int signal = StopSignal(); signal != 0) EndBySignal(signal);
        any = true;
        if (c == '\n') break;
        if (line.size() > limit) { // one byte more is the CR of a CR LF
            result = SecretLineRead::TooLong;
            break;
        }
        line.append(static_cast<char>(c));
    }
    c = 0;
    if (!standardInput) std::fclose(in);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (result == SecretLineRead::Read && line.size() > limit) result = SecretLineRead::TooLong;
    if (result == SecretLineRead::Read && !any && standardInput) result = SecretLineRead::Unreadable;
    if (result != SecretLineRead::Read) line.clear();
    return result;
}

bool StandardErrorIsTerminal() {
    DWORD mode = 0;
    const HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
    return err != nullptr && err != INVALID_HANDLE_VALUE && ::GetConsoleMode(err, &mode) != 0;
}

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
OsVersionReport QueryOsVersion() {
    OsVersionReport report;
    OSVERSIONINFOA basic{};
    basic.dwOSVersionInfoSize = sizeof basic; // the short record, 148 bytes
    static_assert(sizeof(OSVERSIONINFOA) == 148 && sizeof(OSVERSIONINFOEXA) == 156);
    if (!::GetVersionExA(&basic)) return report;
    report.queryOk = true;
    report.platformId = basic.dwPlatformId;
    report.major = basic.dwMajorVersion;
    report.minor = basic.dwMinorVersion;
    if (report.platformId == VER_PLATFORM_WIN32_NT && report.major == 5 && report.minor == 1) {
        OSVERSIONINFOEXA extended{};
        extended.dwOSVersionInfoSize = sizeof extended; // the extended record, 156 bytes
        if (::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended))) {
            report.suiteQueryOk = true;
            report.suiteMask = extended.wSuiteMask;
        }
    }
    if (report.platformId == VER_PLATFORM_WIN32_NT && report.major >= 6) {
        BOOL wow64 = FALSE;
        report.wow64 = ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
        if (report.wow64) {
            SYSTEM_INFO native{};
            ::GetNativeSystemInfo(&native); // asked as the program always has; the answer is not needed
        }
    }
    return report;
}
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace win32 {

std::string_view ArgumentText(std::string_view commandLine) {
    std::size_t pos = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        const auto close = commandLine.find('"', 1);
        pos = close == std::string_view::npos ? commandLine.size() : close + 1;
    } else {
        while (pos < commandLine.size() && commandLine[pos] != ' ' && commandLine[pos] != '\t')
            ++pos;
    }
    while (pos < commandLine.size() && (commandLine[pos] == ' ' || commandLine[pos] == '\t'))
        ++pos;
    return commandLine.substr(pos);
}

} // namespace win32

CommandLine StartCommandLine(int /*argc*/, char** /*argv*/) {
    // The whole line as the system hands it over, after the program name; wide, because the
    // ANSI line has lost every character outside the code page.
    const std::string whole = FromWide(::GetCommandLineW());
    const std::string rest(win32::ArgumentText(whole));
    CommandLine line;
    line.present = !rest.empty();
    line.paths = SplitCommandLine(rest);
    return line;
}

std::vector<std::string> ProgramArguments(int /*argc*/, char** /*argv*/) {
    std::vector<std::string> arguments = win32::SplitArguments(::GetCommandLineW());
    if (!arguments.empty()) arguments.erase(arguments.begin());
    return arguments;
}

std::FILE* OpenCFile(const std::string& path, const char* mode) {
    const auto wide = SystemPath(path);
    const auto wideMode = ToWide(mode);
    if (!wide || wide->empty() || !wideMode) return nullptr;
    return ::_wfopen(wide->c_str(), wideMode->c_str());
}

} // namespace vaultwing::platform
