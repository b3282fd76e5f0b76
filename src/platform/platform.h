#pragma once
// The operating-system primitives the program needs, in one place. The POSIX implementation
// lives in posix/, the Win32 one in win32/; CMake picks one. Nothing outside this folder
// talks to the operating system directly.
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/PathNames.h"
#include "base/Secret.h"
#include "platform/CommandLine.h"
#include "platform/OsVersion.h"

namespace vaultwing::platform {

using ::vaultwing::kPathSeparator;

// True in the Windows build. Callers ask this rather than which separator paths use.
#ifdef _WIN32
inline constexpr bool kWindows = true;
#else
inline constexpr bool kWindows = false;
#endif

// ---------------------------------------------------------------------------------------------
// Program folder and working directory
// ---------------------------------------------------------------------------------------------

// The folder of the running executable, without a trailing separator. The environment
// variable VAULTWING_HOME overrides it (tests, portable installs).
[[nodiscard]] std::string ProgramFolder();

// The folder of the running executable itself, without a trailing separator.
[[nodiscard]] std::string ExecutableFolder();

// The value of an environment variable (UTF-8); empty when it is unset.
[[nodiscard]] std::string EnvironmentVariable(const char* name);

// The user's home folder: $HOME, else the user database's entry (Windows: %USERPROFILE%); empty
// when neither names an absolute path.
[[nodiscard]] std::string UserHomeFolder();

// The full path of the running executable (VAULTWING_HOME does not change it); empty when the
// system does not say.
[[nodiscard]] std::string ExecutablePath();

// The process's current working directory, without a trailing separator (except for a root).
[[nodiscard]] std::string CurrentDirectory();

// Keeps passwords, keys and plaintext in this process's memory out of core files: no core file
// is written for it, and on Linux it is not dumpable (which also keeps debuggers of the same user
// away from it). Both programs call this first. Windows writes no core files by itself.
void DisableCoreDumps();

// ---------------------------------------------------------------------------------------------
// File facts. Attribute bits use the Win32 values, which the program's logic is written in.
// ---------------------------------------------------------------------------------------------

inline constexpr std::uint32_t kAttrReadOnly = 0x1;
inline constexpr std::uint32_t kAttrHidden = 0x2; // POSIX: the name starts with '.'
inline constexpr std::uint32_t kAttrSystem = 0x4; // POSIX: neither a regular file nor a folder
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrNormal = 0x80;        // a plain file with none of the bits above
inline constexpr std::uint32_t kAttrReparsePoint = 0x400; // a symbolic link (the link itself)

// Attributes of a path, following a final symbolic link for everything but kAttrReparsePoint;
// nullopt when they cannot be read.
[[nodiscard]] std::optional<std::uint32_t> FileAttributes(const std::string& path);

// Sets or clears the read-only attribute (POSIX: owner write permission). False on failure.
[[nodiscard]] bool SetReadOnly(const std::string& path, bool readOnly);

// Size in bytes, or -1 when it cannot be read. For a folder it is what the system reports.
[[nodiscard]] std::int64_t FileSize(const std::string& path);

// ---------------------------------------------------------------------------------------------
// Directory enumeration
// ---------------------------------------------------------------------------------------------

enum class EntryKind {
    File,          // anything that is not a folder (a link to a file counts as a file)
    Directory,     // a real folder
    DirectoryLink, // a symbolic link to a folder: never followed by the program's walks
    DanglingLink,  // a symbolic link to nothing (POSIX)
    Special,       // a FIFO, socket or device, or a link to one (POSIX): opening it could block or act
};

struct DirEntry {
    std::string_view name; // valid only during the callback
    EntryKind kind;
};

// Calls `visit` for every entry of `folder` except "." and "..", in the order the directory
// lists them. Returns false when the folder cannot be listed. Holds one open folder while it runs
// and takes paths longer than the system's path limit.
[[nodiscard]] bool EnumerateDirectory(const std::string& folder, const std::function<void(const DirEntry&)>& visit);

// ---------------------------------------------------------------------------------------------
// Files: streaming reads, durable writes
// ---------------------------------------------------------------------------------------------

// The system's own description of an error, as a user would read it.
[[nodiscard]] std::string ErrorDescription(const std::error_code& ec);

// Opening, reading, writing and renaming files raise std::system_error, with the system's error
// code, when the system refuses.
class File {
public:
    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    ~File();

    // Opens a regular file for reading. A folder is refused with is_a_directory, anything else
    // that is no regular file (a FIFO, a device) with invalid_argument, without waiting for a
    // FIFO's writer: it is taken for a file that cannot be read.
    [[nodiscard]] static File OpenRead(const std::string& path);
    // Creates a new, empty file with a unique name in the folder of `beside`; its path is stored
    // in `tempPath`. From its creation it is no more readable than it will be as `beside`
    // (POSIX permission bits): those of `beside` when that file exists and is replaced, else
    // those of `accessLike` (the source an output is made from: owner read and write, the group
    // and other bits minus the umask), else the umask's default. Group bits taken from a file are
    // kept only when the new file has that file's group (a setgid folder gives it the folder's).
    [[nodiscard]] static File CreateTempBeside(const std::string& beside, std::string& tempPath,
                                               const std::string& accessLike = {});

    [[nodiscard]] bool IsOpen() const noexcept;
    // Reads up to `size` bytes; returns the count (0 at the end of the file).
    [[nodiscard]] std::size_t Read(void* data, std::size_t size);
    // Reads exactly `size` bytes unless the file ends first; returns the count read.
    [[nodiscard]] std::size_t ReadFull(void* data, std::size_t size);
    void Write(const void* data, std::size_t size);
    // Size of the open file.
    [[nodiscard]] std::int64_t Size() const;
    // Commits the written data to the storage device.
    void Sync();
    void Close() noexcept;

private:
    explicit File(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_ = -1;
};

// Renames `from` to `to`, replacing `to` atomically if it exists, then commits the folder
// entry to disk.
void RenameReplace(const std::string& from, const std::string& to);

// Renames `from` to `to` only while no file is named `to` (failing with "file exists" otherwise,
// atomically where the file system allows), then commits the folder entry to disk. Outputs are
// put in place this way: a run never writes over a file it did not create.
void RenameNoReplace(const std::string& from, const std::string& to);

// How many more files this process may hold open at once: the descriptor limit minus the
// descriptors open now (POSIX). Win32 sets no such limit on file handles: the largest size_t.
[[nodiscard]] std::size_t FreeFileDescriptors();

// True when an open failed because the process or the system has no descriptor to spare; another
// attempt with fewer files open would succeed.
[[nodiscard]] bool OutOfFileDescriptors(const std::error_code& ec);

// Removes a file; false when it could not be removed.
bool RemoveFile(const std::string& path) noexcept;

// Commits the folder entries of the folder holding `path` to disk (a rename into it, for one).
[[nodiscard]] bool SyncFolderOf(const std::string& path);

// Which file a path names, not following a final symbolic link unless `followLink`: the same
// device and file number mean the same file, even when it has been renamed meanwhile.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t number = 0;
    bool plainSingleName = false; // a plain file (no link, no folder) with no other hard link
    auto operator<=>(const FileIdentity&) const = default;
};
[[nodiscard]] std::optional<FileIdentity> IdentifyFile(const std::string& path, bool followLink = false);

// Which folder entry a path names, whether or not a file has that name yet: the identity of its
// folder (links to it followed) and its last component as the file system compares names. Two
// spellings of one place (./a, d/../a, through a link to the folder) have the same entry.
struct EntryIdentity {
    FileIdentity folder;
    std::string name;
    auto operator<=>(const EntryIdentity&) const = default;
};
[[nodiscard]] std::optional<EntryIdentity> IdentifyEntry(const std::string& path);

// ---------------------------------------------------------------------------------------------
// Destroying sources and the in-use test
// ---------------------------------------------------------------------------------------------

// Deletes `path`, then cuts what it held to zero length and commits that to disk, so that a
// process ended half-way leaves the whole file or no name at all. True when the file is gone. False
// (and the file whole) when it is missing, not a plain file, read-only, held open or locked by
// another process, a symbolic link or one of several hard links, no longer the file `expected`
// (when given) names, or cannot be deleted. Never throws.
[[nodiscard]] bool DestroyFile(const std::string& path, const std::optional<FileIdentity>& expected = std::nullopt);

// True only when another process holds the file open (or holds a lock on it) so that it cannot
// be opened exclusively; false for a free, missing or unreadable file and for anything that is not
// a plain file. A snapshot: the file may be opened by someone else right after. Never throws.
[[nodiscard]] bool FileInUse(const std::string& path);

// ---------------------------------------------------------------------------------------------
// Settings files (INI)
// ---------------------------------------------------------------------------------------------

// The value of `key` in `section` of the INI file `file`, at most 254 characters; empty when the
// file, section or key is missing. Win32: GetPrivateProfileStringA; POSIX: the program's own
// reader (posix/profile_posix.cpp on base/IniText), which treats the file the same way.
[[nodiscard]] std::string ProfileRead(const std::string& file, const std::string& section, const std::string& key);

// Sets `key` in `section` of `file` to `value`, creating the file, section and key as needed.
// False when nothing was written (empty or malformed names, a read-only or unreadable file).
// Win32: WritePrivateProfileStringA; POSIX: the program's own writer (posix/profile_posix.cpp).
bool ProfileWrite(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& value);

// ---------------------------------------------------------------------------------------------
// Process and keyboard
// ---------------------------------------------------------------------------------------------

// Ends the process at once with code 0: no unload steps, nothing saved.
[[noreturn]] void FatalExit();

// From now on hang-up, interrupt, terminate and quit no longer end the process at once: they are
// noted (StopSignal) so that the running file stops at its next step, as Cancel stops it, and the
// program ends afterwards. A write past the file-size limit fails instead of ending the process;
// a broken pipe is ignored. Waiting for a password on the terminal ends the process at once.
void CatchStopSignals();
// The last such signal noted, or 0.
[[nodiscard]] int StopSignal();
// True for a signal after which the program ends rather than go on (hang-up, terminate, quit).
[[nodiscard]] bool SignalEndsProgram(int signal);
// Ends the process as `signal` ends it by default (a shell reports 128 + the signal number).
[[noreturn]] void EndBySignal(int signal);

// True while the caps-lock toggle is on; false where the platform cannot tell.
[[nodiscard]] bool CapsLockOn();

// Virtual-key codes of the keys the drop zone's hot region watches.
inline constexpr int kVkShift = 16;
inline constexpr int kVkControl = 17;
inline constexpr int kVkEscape = 27;

// True while the key (a virtual-key code above) is held down, wherever the input focus is;
// Win32 also counts an Escape pressed since the last query. False where the platform cannot
// tell (POSIX: no X display).
[[nodiscard]] bool AsyncKeyDown(int virtualKey);

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// The mouse pointer in screen pixels; nullopt where the platform cannot tell.
[[nodiscard]] std::optional<ScreenPoint> CursorPosition();

// Reads a password on the controlling terminal without echoing it; nullopt without a terminal.
[[nodiscard]] std::optional<Secret> ReadPasswordFromTerminal(const std::string& prompt);

enum class SecretLineRead { Read, Unreadable, TooLong };

// The first line of `path` ("-": standard input, where no byte at all is Unreadable) without its
// line end, for a password: read without a stream buffer, which would keep a copy, and at most
// `limit` bytes before the line end (TooLong, `line` then empty). While it waits for a FIFO's
// writer or a pipe's data, a stop signal (see CatchStopSignals) ends the process as the terminal
// prompt does. Win32: a stop signal ends it at the next byte read.
[[nodiscard]] SecretLineRead ReadSecretLine(const std::string& path, std::size_t limit, Secret& line);

// True when standard error is a terminal (the command line then draws a progress bar).
[[nodiscard]] bool StandardErrorIsTerminal();

// ---------------------------------------------------------------------------------------------
// Shell integration
// ---------------------------------------------------------------------------------------------

// Lets the desktop open files ending in "." + `extension` with the program: Win32 writes the
// association under HKEY_CLASSES_ROOT, or for a user without the rights for that under
// HKEY_CURRENT_USER\Software\Classes (ProgID `exeName`, `description`, icon `iconPath`,0 and the
// open command "<appPath><exeName>.exe" %1); POSIX writes a shared-mime-info package and a
// .desktop entry under $XDG_DATA_HOME and refreshes the desktop databases where those tools exist.
void RegisterFileType(const std::string& extension, const std::string& appPath, const std::string& exeName,
                      const std::string& description, const std::string& iconPath);
// Removes what RegisterFileType wrote for `extension`.
void UnregisterFileType(const std::string& extension);

// The "Send To" entry that starts the program with the selected files and folders: Win32 a
// shortcut "Vaultwing.lnk" in the user's Send To folder pointing at <programFolder>\VWX.EXE;
// POSIX file-manager context-menu entries under $XDG_DATA_HOME. False when it could not be made.
bool CreateSendToShortcut(const std::string& programFolder);
// Removes the entry; nothing happens when there is none.
void RemoveSendToShortcut();

// Opens a file or a web address in the program the desktop uses for it (the manual, the
// website); false when nothing could be started.
bool OpenDocument(const std::string& fileOrUrl);

// What the system reports about its version (POSIX: a supported NT 6 system).
[[nodiscard]] OsVersionReport QueryOsVersion();

// The paths this process was started with (argc/argv as main received them). Win32 reads the
// whole command line and splits it by the Windows grammar; POSIX takes every argument as one
// path, made absolute against the working directory.
[[nodiscard]] CommandLine StartCommandLine(int argc, char** argv);

} // namespace vaultwing::platform
