#pragma once
// The real `vaultwing` program as a child process that tests can constrain and interrupt: a
// limit on the size of the files it writes (with SIGXFSZ ignored, so a write past the limit
// fails with EFBIG instead of killing it), another user's identity, a SIGKILL part-way.
// Standard error goes to a pipe, which no file-size limit touches.
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace vaultwing::test {

// The user id tests switch to when they run as root and need permission bits to count.
inline constexpr uid_t kNobody = 65534;

struct CliLimits {
    std::optional<rlim_t> fileSize; // RLIMIT_FSIZE in bytes
    bool asNobody = false;          // drop root's privileges in the child
};

class CliProcess {
public:
    CliProcess(const std::string& home, const std::vector<std::string>& args, CliLimits limits = {}) {
        // Everything the child needs is built before fork: between fork and exec only system calls.
        std::vector<std::string> argStore{VAULTWING_CLI_PATH};
        argStore.insert(argStore.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : argStore)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> envStore{"VAULTWING_HOME=" + home};
        for (char** e = environ; *e != nullptr; ++e)
            if (std::string(*e).rfind("VAULTWING_HOME=", 0) != 0) envStore.emplace_back(*e);
        std::vector<char*> envp;
        for (auto& e : envStore)
            envp.push_back(e.data());
        envp.push_back(nullptr);

        int err[2];
        if (::pipe(err) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, STDIN_FILENO);
            ::dup2(null, STDOUT_FILENO);
            ::dup2(err[1], STDERR_FILENO);
            ::close(err[0]);
            ::signal(SIGXFSZ, SIG_IGN);
            if (limits.fileSize) {
                const rlimit limit{*limits.fileSize, *limits.fileSize};
                if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
            }
            if (limits.asNobody && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
                ::_exit(126);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(err[1]);
        errFd_ = err[0];
    }
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;
    ~CliProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            (void)Wait();
        }
        if (errFd_ >= 0) ::close(errFd_);
    }

    [[nodiscard]] pid_t Pid() const { return pid_; }

    // Waits for the end; the exit status, or minus the signal that ended the program.
    int Wait() {
        if (exit_) return *exit_;
        if (errFd_ >= 0) {
            char buffer[4096];
            ssize_t n = 0;
            while ((n = ::read(errFd_, buffer, sizeof buffer)) > 0)
                err_.append(buffer, static_cast<std::size_t>(n));
            ::close(errFd_);
            errFd_ = -1;
        }
        int status = 0;
        if (pid_ <= 0 || ::waitpid(pid_, &status, 0) != pid_) return *(exit_ = -1000);
        pid_ = -1;
        exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? -WTERMSIG(status) : -1000;
        return *exit_;
    }
    void Kill() {
        if (pid_ > 0) ::kill(pid_, SIGKILL);
    }
    // Standard error, complete once Wait has returned.
    [[nodiscard]] const std::string& Err() const { return err_; }

private:
    pid_t pid_ = -1;
    int errFd_ = -1;
    std::string err_;
    std::optional<int> exit_;
};

// A runnable end-to-end: exit status and standard error.
struct CliOutcome {
    int exit = -1;
    std::string err;
};

inline CliOutcome RunCli(const std::string& home, const std::vector<std::string>& args, CliLimits limits = {}) {
    CliProcess p(home, args, limits);
    const int exit = p.Wait();
    return {exit, p.Err()};
}

// Deterministic bytes that are cheap to make and to check again, for files too large to keep
// a copy of, and a 64-bit hash of a file's bytes (FNV-1a over 8-byte words), both in chunks.
inline std::uint64_t HashBytes(std::uint64_t hash, const char* data, std::size_t size) {
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, data + i, 8);
        hash = (hash ^ word) * 0x100000001B3ULL;
    }
    for (; i < size; ++i)
        hash = (hash ^ static_cast<unsigned char>(data[i])) * 0x100000001B3ULL;
    return hash;
}
inline constexpr std::uint64_t kHashStart = 0xCBF29CE484222325ULL;

// Writes `size` bytes of a xorshift sequence from `seed`; returns their hash. The chunk size is
// a multiple of 8, so the hash's words are the same when the file is read back.
inline std::uint64_t WritePatternFile(const std::string& path, std::uint64_t size, std::uint64_t seed) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<char> chunk(1 << 20);
    std::uint64_t state = seed | 1, hash = kHashStart;
    for (std::uint64_t done = 0; done < size;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - done));
        for (std::size_t i = 0; i < n; i += 8) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            std::memcpy(chunk.data() + i, &state, std::min<std::size_t>(8, n - i));
        }
        out.write(chunk.data(), static_cast<std::streamsize>(n));
        hash = HashBytes(hash, chunk.data(), n);
        done += n;
    }
    return hash;
}

inline std::optional<std::uint64_t> HashFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<char> chunk(1 << 20);
    std::uint64_t hash = kHashStart;
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        hash = HashBytes(hash, chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    return hash;
}

// Whether the file holds `needle` anywhere, read in chunks.
inline bool FileContains(const std::string& path, const std::string& needle) {
    std::ifstream in(path, std::ios::binary);
    std::string window;
    std::vector<char> chunk(1 << 20);
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        window.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (window.find(needle) != std::string::npos) return true;
        if (window.size() >= needle.size()) window.erase(0, window.size() - needle.size() + 1);
    }
    return false;
}

// The names in a folder, sorted.
inline std::vector<std::string> Names(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A temporary file the program leaves only when it is killed: ".<destination name>.XXXXXX".
inline bool IsTemporaryOf(const std::string& name, const std::string& destinationName) {
    const std::string prefix = "." + destinationName + ".";
    return name.size() == prefix.size() + 6 && name.rfind(prefix, 0) == 0;
}

} // namespace vaultwing::test
