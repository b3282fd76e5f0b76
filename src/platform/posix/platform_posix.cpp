// POSIX implementation of the platform layer.
#include "platform/platform.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <limits>
#include <memory>
#include <poll.h>
#include <pwd.h>
#include <random>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace vaultwing::platform {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::string StripTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The user's umask, read without changing it (umask() would, for a moment, for every thread).
mode_t Umask() {
    static const mode_t mask = [] {
        mode_t value = 022;
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("Umask:", 0) == 0) {
                value = static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
                break;
            }
        }
        return value;
    }();
    return mask;
}

// Opens a folder for reading its entries, also when its path is longer than the system's limit
// for one call: then piece by piece, each piece opened relative to the one before.
int OpenFolder(const std::string& path) {
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    int at = AT_FDCWD;
    std::size_t from = 0;
    for (;;) {
        if (path.size() - from < PATH_MAX) {
            const int fd = ::openat(at, path.c_str() + from, kFlags);
            if (at != AT_FDCWD) ::close(at);
            return fd;
        }
        const auto cut = path.rfind('/', from + PATH_MAX - 2);
        if (cut == std::string::npos || cut <= from) {
            if (at != AT_FDCWD) ::close(at);
            errno = ENAMETOOLONG;
            return -1;
        }
        const int next = ::openat(at, path.substr(from, cut - from).c_str(), kFlags);
        if (at != AT_FDCWD) ::close(at);
        if (next < 0) return -1;
        at = next;
        from = cut + 1;
    }
}

bool SyncFolder(const std::string& folder) {
    const int fd = OpenFolder(folder);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// A path as an open folder and a name in it, for the *at calls: a path longer than the system's
// limit for one call (a file deep in a tree the walk listed) is reached through its folder, which
// OpenFolder opens piece by piece. A shorter path is used as it is.
class AtPath {
public:
    explicit AtPath(const std::string& path) : name_(path.c_str()) {
        const auto slash = path.find_last_of('/');
        if (path.size() < PATH_MAX || slash == std::string::npos) return;
        folder_ = OpenFolder(slash == 0 ? std::string("/") : path.substr(0, slash));
        if (folder_ < 0) return; // the call then fails on the whole path, as it would have
        leaf_ = path.substr(slash + 1);
        name_ = leaf_.c_str();
    }
    AtPath(const AtPath&) = delete;
    AtPath& operator=(const AtPath&) = delete;
    ~AtPath() {
        const int error = errno; // the caller reads the error of the call made through it
        if (folder_ >= 0) ::close(folder_);
        errno = error;
    }
    [[nodiscard]] int Folder() const { return folder_ >= 0 ? folder_ : AT_FDCWD; }
    [[nodiscard]] const char* Name() const { return name_; }

private:
    int folder_ = -1;
    std::string leaf_;
    const char* name_;
};

// stat and lstat (follow = false) of any path the walk can list.
int StatPath(const std::string& path, struct stat& st, bool follow) {
    const AtPath at(path);
    return ::fstatat(at.Folder(), at.Name(), &st, follow ? 0 : AT_SYMLINK_NOFOLLOW);
}

int OpenPath(const std::string& path, int flags, mode_t mode = 0) {
    const AtPath at(path);
    return ::openat(at.Folder(), at.Name(), flags, mode);
}

// The permission bits a file written as `destination` gets (see File::CreateTempBeside), and the
// group its group bits are meant for: that of the file they are taken from.
struct NewFileAccess {
    mode_t mode = 0;
    std::optional<gid_t> group;
};

NewFileAccess NewFileMode(const std::string& destination, const std::string& accessLike) {
    struct stat st {};
    if (StatPath(destination, st, false) == 0 && S_ISREG(st.st_mode)) return {st.st_mode & 0777, st.st_gid};
    if (!accessLike.empty() && StatPath(accessLike, st, true) == 0)
        return {((st.st_mode & 0777) | S_IRUSR | S_IWUSR) & ~(Umask() & 077), st.st_gid};
    // A file made in a folder that only its owner may enter is for its owner only: the settings
    // folder of an installed copy is made that way, and VWX.ini and VWX-Fav stay private in it.
    const std::string folder = FolderOf(destination);
    if (StatPath(folder, st, true) == 0 && (st.st_mode & 077) == 0) return {0600 & ~Umask(), std::nullopt};
    return {0666 & ~Umask(), std::nullopt};
}

} // namespace

std::string ProgramFolder() {
    if (const char* home = std::getenv("VAULTWING_HOME"); home != nullptr && *home != '\0')
        return StripTrailingSeparators(home);
    return ExecutableFolder();
}

std::string ExecutableFolder() {
    const std::string executable = ExecutablePath();
    return executable.empty() ? CurrentDirectory() : FolderOf(executable);
}

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n <= 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(n));
}

std::string EnvironmentVariable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string UserHomeFolder() {
    std::string home = EnvironmentVariable("HOME");
    if (home.empty() || home.front() != '/') {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw != nullptr && pw->pw_dir != nullptr ? pw->pw_dir : "";
    }
    return !home.empty() && home.front() == '/' ? StripTrailingSeparators(home) : std::string();
}

std::string CurrentDirectory() {
    char buffer[PATH_MAX];
    if (::getcwd(buffer, sizeof buffer) == nullptr) return ".";
    return StripTrailingSeparators(buffer);
}

std::optional<std::uint32_t> FileAttributes(const std::string& path) {
    struct stat link {};
    if (path.empty() || StatPath(path, link, false) != 0) return std::nullopt;
    struct stat st = link;
    std::uint32_t attrs = 0;
    if (S_ISLNK(link.st_mode)) {
        attrs |= kAttrReparsePoint;
        if (StatPath(path, st, true) != 0) st = link; // a dangling link: describe the link
    }
    if (S_ISDIR(st.st_mode))
        attrs |= kAttrDirectory;
    else if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
        attrs |= kAttrSystem;
    if ((st.st_mode & S_IWUSR) == 0) attrs |= kAttrReadOnly;
    const auto slash = path.find_last_of('/');
    const std::string_view name =
        slash == std::string::npos ? std::string_view(path) : std::string_view(path).substr(slash + 1);
    if (name.size() > 1 && name.front() == '.' && name != "..") attrs |= kAttrHidden;
    if ((attrs & ~kAttrReparsePoint) == 0) attrs |= kAttrNormal;
    return attrs;
}

bool SetReadOnly(const std::string& path, bool readOnly) {
    struct stat st {};
    const AtPath at(path);
    if (::fstatat(at.Folder(), at.Name(), &st, 0) != 0) return false;
    const mode_t mode = readOnly ? (st.st_mode & ~mode_t{S_IWUSR | S_IWGRP | S_IWOTH}) : (st.st_mode | S_IWUSR);
    return ::fchmodat(at.Folder(), at.Name(), mode & 07777, 0) == 0;
}

std::int64_t FileSize(const std::string& path) {
    struct stat st {};
    if (path.empty() || StatPath(path, st, true) != 0) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

bool EnumerateDirectory(const std::string& folder, const std::function<void(const DirEntry&)>& visit) {
    const int fd = OpenFolder(folder);
    if (fd < 0) return false;
    // Closed on every way out, a throwing `visit` included.
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(fd), &::closedir);
    if (!dir) {
        ::close(fd);
        return false;
    }
    const int dirFd = ::dirfd(dir.get());
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) return errno == 0; // the end, or a listing cut short by an error
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..") continue;
        EntryKind kind = EntryKind::File;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) { // some file systems do not fill d_type: ask
            struct stat st {};
            if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                type = S_ISDIR(st.st_mode)   ? DT_DIR
                       : S_ISLNK(st.st_mode) ? DT_LNK
                       : S_ISREG(st.st_mode) ? DT_REG
                                             : DT_FIFO; // stands for every special kind
        }
        if (type == DT_DIR) {
            kind = EntryKind::Directory;
        } else if (type == DT_LNK) {
            struct stat st {};
            if (::fstatat(dirFd, entry->d_name, &st, 0) != 0)
                kind = EntryKind::DanglingLink;
            else if (S_ISDIR(st.st_mode))
                kind = EntryKind::DirectoryLink;
            else if (!S_ISREG(st.st_mode))
                kind = EntryKind::Special;
        } else if (type != DT_REG && type != DT_UNKNOWN) { // an entry gone meanwhile stays a file
            kind = EntryKind::Special;
        }
        visit(DirEntry{name, kind});
    }
}

std::string ErrorDescription(const std::error_code& ec) {
    std::string text = ec.message();
    if (!text.empty()) text.back() == '.' ? void() : text.push_back('.');
    return text;
}

// ---------------------------------------------------------------------------------------------
// File
// ---------------------------------------------------------------------------------------------

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
    // Without waiting for a FIFO's writer: anything but a regular file is refused below.
    const int fd = OpenPath(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw std::system_error(LastError(), "open");
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw std::system_error(
            std::make_error_code(S_ISDIR(st.st_mode) ? std::errc::is_a_directory : std::errc::invalid_argument),
            "open");
    }
    return File(fd);
}

File File::CreateTempBeside(const std::string& beside, std::string& tempPath, const std::string& accessLike) {
    const auto slash = beside.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : beside.substr(0, slash + 1);
    // Only a prefix of the name goes into the temporary one, so that a destination whose name
    // is near the system's limit still gets a temporary name that fits.
    constexpr std::size_t kMaxNamePart = 64;
    const std::string name = (slash == std::string::npos ? beside : beside.substr(slash + 1)).substr(0, kMaxNamePart);
    // Created with its final bits (mkstemp's fixed 0600 would have to be widened afterwards);
    // the umask may take bits a replaced file had, which are given back once it exists. Group bits
    // meant for the model's group wait until the new file's own group is known: a setgid folder
    // gives it the folder's, whose members must not gain the access the model gave its group.
    const auto [mode, group] = NewFileMode(beside, accessLike);
    const mode_t created = group ? mode & ~mode_t{070} : mode;
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = folder + "." + name + ".";
        for (int i = 0; i < 6; ++i)
            candidate.push_back(kLetters[random() % (sizeof kLetters - 1)]);
        const int fd = OpenPath(candidate, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, created);
        if (fd >= 0) {
            struct stat made {};
            const bool sameGroup = group && ::fstat(fd, &made) == 0 && made.st_gid == *group;
            const mode_t wanted = sameGroup ? mode : created;
            if (wanted != (created & ~Umask())) (void)::fchmod(fd, wanted);
            tempPath = candidate;
            return File(fd);
        }
        if (errno != EEXIST) break;
    }
    throw std::system_error(LastError(), "create");
}

bool File::IsOpen() const noexcept {
    return handle_ >= 0;
}

std::size_t File::Read(void* data, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(static_cast<int>(handle_), data, size);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) throw std::system_error(LastError(), "read");
    }
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
        const ssize_t n = ::write(static_cast<int>(handle_), bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw std::system_error(LastError(), "write");
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
}

std::int64_t File::Size() const {
    struct stat st {};
    if (::fstat(static_cast<int>(handle_), &st) != 0) throw std::system_error(LastError(), "size");
    return static_cast<std::int64_t>(st.st_size);
}

void File::Sync() {
    if (::fsync(static_cast<int>(handle_)) != 0) throw std::system_error(LastError(), "sync");
}

void File::Close() noexcept {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
    }
}

void RenameReplace(const std::string& from, const std::string& to) {
    const AtPath source(from), target(to);
    if (::renameat(source.Folder(), source.Name(), target.Folder(), target.Name()) != 0)
        throw std::system_error(LastError(), "rename");
    (void)SyncFolder(FolderOf(to));
}

void RenameNoReplace(const std::string& from, const std::string& to) {
    const AtPath source(from), target(to);
    if (::renameat2(source.Folder(), source.Name(), target.Folder(), target.Name(), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) throw std::system_error(LastError(), "rename");
        // A file system without that rename: a hard link fails just as surely on an existing name.
        if (::linkat(source.Folder(), source.Name(), target.Folder(), target.Name(), 0) == 0) {
            (void)::unlinkat(source.Folder(), source.Name(), 0);
        } else if (errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP) {
            // Nor hard links (FAT, some network shares): look, then rename; only a file made in the
            // moment between the two can still be replaced.
            struct stat st {};
            if (::fstatat(target.Folder(), target.Name(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT)
                throw std::system_error(std::make_error_code(std::errc::file_exists), "rename");
            if (::renameat(source.Folder(), source.Name(), target.Folder(), target.Name()) != 0)
                throw std::system_error(LastError(), "rename");
        } else {
            throw std::system_error(LastError(), "rename");
        }
    }
    (void)SyncFolder(FolderOf(to));
}

std::size_t FreeFileDescriptors() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::numeric_limits<std::size_t>::max();
    // Only descriptors below the limit take a place (the limit may have been lowered past some).
    std::size_t open = 0;
    const bool listed = EnumerateDirectory("/proc/self/fd", [&](const DirEntry& entry) {
        if (std::strtoull(std::string(entry.name).c_str(), nullptr, 10) < limit.rlim_cur) ++open;
    });
    if (listed) {
        open = open > 0 ? open - 1 : 0; // the listing's own descriptor is closed again
    } else {
        open = 0; // no /proc: each number asked
        for (rlim_t fd = 0; fd < std::min<rlim_t>(limit.rlim_cur, 1 << 16); ++fd)
            if (::fcntl(static_cast<int>(fd), F_GETFD) != -1) ++open;
    }
    return limit.rlim_cur > open ? static_cast<std::size_t>(limit.rlim_cur - open) : 0;
}

bool OutOfFileDescriptors(const std::error_code& ec) {
    return ec == std::errc::too_many_files_open || ec == std::errc::too_many_files_open_in_system;
}

bool RemoveFile(const std::string& path) noexcept {
    try {
        const AtPath at(path);
        return ::unlinkat(at.Folder(), at.Name(), 0) == 0;
    } catch (...) { // out of memory for the name
        return false;
    }
}

bool SyncFolderOf(const std::string& path) {
    return SyncFolder(FolderOf(path));
}

std::optional<FileIdentity> IdentifyFile(const std::string& path, bool followLink) {
    struct stat st {};
    if (path.empty() || StatPath(path, st, followLink) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                        S_ISREG(st.st_mode) && st.st_nlink == 1};
}

std::optional<EntryIdentity> IdentifyEntry(const std::string& path) {
    const std::string trimmed = StripTrailingSeparators(path);
    const auto slash = trimmed.find_last_of('/');
    std::string name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    const auto folder = IdentifyFile(FolderOf(trimmed), true); // a link to it followed
    if (!folder) return std::nullopt;
    return EntryIdentity{*folder, std::move(name)};
}

// ---------------------------------------------------------------------------------------------
// Destroying sources and the in-use test
// ---------------------------------------------------------------------------------------------

namespace {

// True when a process other than this one has a descriptor open on the file (dev, ino).
bool OpenElsewhere(dev_t dev, ino_t ino) {
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) return false;
    const std::string self = std::to_string(::getpid());
    bool found = false;
    while (!found) {
        const dirent* p = ::readdir(proc);
        if (p == nullptr) break;
        if (p->d_name[0] < '0' || p->d_name[0] > '9' || self == p->d_name) continue;
        const std::string fdDir = std::string("/proc/") + p->d_name + "/fd";
        DIR* fds = ::opendir(fdDir.c_str());
        if (fds == nullptr) continue;
        const int fdDirFd = ::dirfd(fds);
        while (const dirent* f = ::readdir(fds)) {
            if (f->d_name[0] == '.') continue;
            struct stat st {};
            if (::fstatat(fdDirFd, f->d_name, &st, 0) == 0 && st.st_dev == dev && st.st_ino == ino) {
                found = true;
                break;
            }
        }
        ::closedir(fds);
    }
    ::closedir(proc);
    return found;
}

// True when another process holds an advisory lock (flock or fcntl) on the open file.
bool LockedElsewhere(int fd) {
    struct flock query {};
    query.l_type = F_WRLCK;
    query.l_whence = SEEK_SET;
    if (::fcntl(fd, F_GETLK, &query) == 0 && query.l_type != F_UNLCK) return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return errno == EWOULDBLOCK;
    ::flock(fd, LOCK_UN);
    return false;
}

bool InUse(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    return LockedElsewhere(fd) || OpenElsewhere(st.st_dev, st.st_ino);
}

} // namespace

bool DestroyFile(const std::string& path, const std::optional<FileIdentity>& expected) {
    // Only a plain, writable file with this one name is destroyed. Through a symbolic link the
    // truncation would empty the target while only the link is deleted; with further hard links
    // the other names would be left pointing at an emptied file.
    struct stat st {};
    const AtPath at(path);
    if (::fstatat(at.Folder(), at.Name(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) || st.st_nlink > 1 ||
        (st.st_mode & S_IWUSR) == 0)
        return false;
    if (expected && (expected->device != static_cast<std::uint64_t>(st.st_dev) ||
                     expected->number != static_cast<std::uint64_t>(st.st_ino)))
        return false;
    // Opened without truncation: a file another program holds must stay whole, and the checks
    // have to be made on the very file that is then cut.
    const int fd = ::openat(at.Folder(), at.Name(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat opened {};
    struct stat named {};
    const auto same = [&](const struct stat& other) { return other.st_dev == st.st_dev && other.st_ino == st.st_ino; };
    // The name goes before the contents: ended at any moment (a kill, a power cut), the program
    // leaves either the whole file under its name or no name at all, never an emptied file. The
    // name is looked at once more right before it goes, so that it still names this file.
    if (::fstat(fd, &opened) != 0 || !same(opened) || !S_ISREG(opened.st_mode) || opened.st_nlink > 1 || InUse(fd) ||
        ::fstatat(at.Folder(), at.Name(), &named, AT_SYMLINK_NOFOLLOW) != 0 || !same(named) ||
        ::unlinkat(at.Folder(), at.Name(), 0) != 0) {
        ::close(fd);
        return false;
    }
    (void)SyncFolder(FolderOf(path));
    // Then the contents are cut to zero and committed, as destroying always did, through the
    // descriptor that still holds them.
    (void)::ftruncate(fd, 0);
    (void)::fsync(fd);
    ::close(fd);
    return true;
}

bool FileInUse(const std::string& path) {
    // Only plain files are judged; opening anything else (a FIFO, a device) could block or act.
    struct stat st {};
    const AtPath at(path);
    if (::fstatat(at.Folder(), at.Name(), &st, 0) != 0 || !S_ISREG(st.st_mode)) return false;
    const int fd = ::openat(at.Folder(), at.Name(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat opened {};
    const bool busy = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && InUse(fd);
    ::close(fd);
    return busy;
}

// ---------------------------------------------------------------------------------------------
// Process and keyboard
// ---------------------------------------------------------------------------------------------

void FatalExit() {
    ::_exit(0);
}

namespace {

// Waits until `fd` has data or its end (false on a failed wait). A stop signal ends the process
// as the signal would, after `beforeEnd`. The stop signals stay blocked between the test of the
// flag and the wait, which alone lets them in, so that none slips through in between.
bool WaitUntilReadable(int fd, void (*beforeEnd)(int), int context) {
    sigset_t stops{}, previous{};
    sigemptyset(&stops);
    for (const int signal : {SIGHUP, SIGINT, SIGTERM, SIGQUIT})
        sigaddset(&stops, signal);
    (void)::pthread_sigmask(SIG_BLOCK, &stops, &previous);
    pollfd ready{fd, POLLIN, 0};
    int result = 0;
    for (;;) {
        if (const int signal = StopSignal(); signal != 0) {
            if (beforeEnd != nullptr) beforeEnd(context);
            EndBySignal(signal);
        }
        result = ::ppoll(&ready, 1, nullptr, &previous);
        if (result >= 0 || errno != EINTR) break;
    }
    (void)::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return result > 0;
}

// The terminal's settings while the prompt has its echo off, for a signal to put back.
termios gSavedTerminal{};
bool gTerminalSaved = false;

void RestoreTerminal(int fd) {
    if (gTerminalSaved) ::tcsetattr(fd, TCSAFLUSH, &gSavedTerminal);
    (void)!::write(fd, "\n", 1);
}

} // namespace

SecretLineRead ReadSecretLine(const std::string& path, std::size_t limit, Secret& line) {
    line.clear();
    const bool standardInput = path == "-";
    // A FIFO is opened without waiting for its writer: the wait is below, where a signal ends it.
    const int fd = standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return SecretLineRead::Unreadable;
    if (!standardInput) (void)::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    SecretLineRead result = SecretLineRead::Read;
    bool any = false;
    char c = 0;
    for (;;) {
        if (!WaitUntilReadable(fd, nullptr, 0)) {
            result = SecretLineRead::Unreadable;
            break;
        }
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) result = SecretLineRead::Unreadable;
        if (got <= 0) break;
        any = true;
        if (c == '\n') break;
        if (line.size() > limit) { // one byte more is the CR of a CR LF
            result = SecretLineRead::TooLong;
            break;
        }
        line.append(c);
    }
    c = 0;
    if (!standardInput) ::close(fd);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (result == SecretLineRead::Read && line.size() > limit) result = SecretLineRead::TooLong;
    if (result == SecretLineRead::Read && !any && standardInput) result = SecretLineRead::Unreadable;
    if (result != SecretLineRead::Read) line.clear();
    return result;
}

std::optional<Secret> ReadPasswordFromTerminal(const std::string& prompt) {
    const int fd = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    termios& saved = gSavedTerminal;
    const bool haveTermios = gTerminalSaved = ::tcgetattr(fd, &saved) == 0;
    if (haveTermios) {
        termios quiet = saved;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        quiet.c_lflag |= ECHONL;
        ::tcsetattr(fd, TCSAFLUSH, &quiet);
    }
    (void)!::write(fd, prompt.data(), prompt.size());
    Secret password;
    char c = 0;
    // Ctrl+C (or a hang-up) ends the program here and now, with the echo back on.
    for (;;) {
        if (!WaitUntilReadable(fd, RestoreTerminal, fd)) break;
        if (::read(fd, &c, 1) != 1 || c == '\n') break;
        password.append(c);
    }
    c = 0;
    if (haveTermios) ::tcsetattr(fd, TCSAFLUSH, &saved);
    ::close(fd);
    if (!password.empty() && password.back() == '\r') password.pop_back();
    return password;
}

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

OsVersionReport QueryOsVersion() {
    OsVersionReport report;
    report.queryOk = true;
    report.platformId = 2;
    report.major = 6;
    return report;
}

CommandLine StartCommandLine(int argc, char** argv) {
    CommandLine line;
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    line.present = !arguments.empty();
    line.paths = AbsolutePaths(arguments, CurrentDirectory());
    return line;
}

} // namespace vaultwing::platform
