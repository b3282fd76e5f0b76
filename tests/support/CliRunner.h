#pragma once
// The real `vaultwing` program as a child process, started as a shell starts it (umask 022): its exit
// status and standard error. A run can limit the size of the files it writes or the files it may
// hold open or, when the tests run as root, run as "nobody", for whom permission bits count; or
// it can write to a pseudo-terminal, which is then also its controlling terminal.
#include <fcntl.h>
#include <grp.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/TempDir.h"

extern char** environ;

namespace vaultwing::test {

struct CliOptions {
    std::optional<rlim_t> fileSizeLimit; // RLIMIT_FSIZE in bytes
    std::optional<rlim_t> openFileLimit; // RLIMIT_NOFILE
    bool asNobody = false;
    std::string input;            // standard input; small enough for one pipe buffer
    std::string workingDirectory; // empty: the tests' own
    bool terminal = false;        // standard error is a pseudo-terminal (the output then has its CR LF line ends)
};

class CliProcess {
public:
    CliProcess(const std::string& home, const std::vector<std::string>& args, const CliOptions& options = {}) {
        // Everything the child needs is built before fork: between fork and exec only system calls.
        std::vector<std::string> strings{options.asNobody ? OpenCopy() : VAULTWING_CLI_PATH};
        strings.insert(strings.end(), args.begin(), args.end());
        const auto argc = strings.size();
        strings.push_back("VAULTWING_HOME=" + home);
        for (char** e = environ; *e != nullptr; ++e)
            if (!std::string_view(*e).starts_with("VAULTWING_HOME=")) strings.emplace_back(*e);
        std::vector<char*> argv, envp;
        for (auto& s : strings)
            (argv.size() < argc ? argv : envp).push_back(s.data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        int in[2], err[2];
        if (::pipe(in) != 0 ||
            (options.terminal ? ::openpty(&err[0], &err[1], nullptr, nullptr, nullptr) : ::pipe(err)) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            if (!options.workingDirectory.empty() && ::chdir(options.workingDirectory.c_str()) != 0) ::_exit(126);
            if (options.terminal && (::setsid() < 0 || ::ioctl(err[1], TIOCSCTTY, 0) != 0)) ::_exit(126);
            ::dup2(in[0], STDIN_FILENO);
            ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
            ::dup2(err[1], STDERR_FILENO);
            ::close(in[1]);
            ::signal(SIGPIPE, SIG_DFL);
            ::umask(022);
            for (const auto& [resource, value] :
                 {std::pair{RLIMIT_FSIZE, options.fileSizeLimit}, std::pair{RLIMIT_NOFILE, options.openFileLimit}}) {
                const rlimit limit{value.value_or(0), value.value_or(0)};
                if (value && ::setrlimit(resource, &limit) != 0) ::_exit(126);
            }
            if (options.asNobody && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(126);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(err[1]);
        errFd_ = err[0];
        ::signal(SIGPIPE, SIG_IGN); // a program that ended before reading must not end the tests
        (void)!::write(in[1], options.input.data(), options.input.size());
        ::close(in[1]);
    }
    ~CliProcess() {
        Kill();
        (void)Wait();
    }

    [[nodiscard]] pid_t Pid() const { return pid_; }
    void Kill() {
        if (pid_ > 0) ::kill(pid_, SIGKILL);
    }
    // Waits for the end: the exit status, or minus the signal that ended the program.
    int Wait() {
        char buffer[4096];
        // A pseudo-terminal ends with EIO once the program has closed its side.
        for (ssize_t n; errFd_ >= 0 && (n = ::read(errFd_, buffer, sizeof buffer)) > 0;)
            err_.append(buffer, static_cast<std::size_t>(n));
        if (errFd_ >= 0) ::close(errFd_);
        errFd_ = -1;
        int status = 0;
        if (pid_ > 0 && ::waitpid(pid_, &status, 0) == pid_)
            exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
        pid_ = -1;
        return exit_;
    }
    // As Wait, but a program still running after `bound` is killed and nullopt returned.
    std::optional<int> WaitAtMost(std::chrono::milliseconds bound) {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        for (int status = 0; pid_ > 0 && std::chrono::steady_clock::now() < deadline;) {
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                (void)Wait(); // standard error to its end
                exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
                return exit_;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        Kill();
        (void)Wait();
        return std::nullopt;
    }
    // Standard error, complete once Wait has returned.
    [[nodiscard]] const std::string& Err() const { return err_; }

private:
    // The build tree may lie below a folder only its owner may enter (a clone in /root), so
    // "nobody" starts a copy in a temporary folder open to all.
    static std::string OpenCopy() {
        static const TempDir folder;
        static const std::string copy = [] {
            namespace fs = std::filesystem;
            fs::copy_file(VAULTWING_CLI_PATH, folder / "vaultwing");
            for (const auto& path : {folder.Path(), fs::path(folder / "vaultwing")})
                fs::permissions(path, fs::perms::all & ~(fs::perms::group_write | fs::perms::others_write));
            return folder / "vaultwing";
        }();
        return copy;
    }

    pid_t pid_ = -1;
    int errFd_ = -1;
    std::string err_;
    int exit_ = -1000;
};

struct CliOutcome {
    int exit = -1;
    std::string err;
};

inline CliOutcome RunCli(const std::string& home, const std::vector<std::string>& args,
                         const CliOptions& options = {}) {
    CliProcess p(home, args, options);
    const int exit = p.Wait();
    return {exit, p.Err()};
}

} // namespace vaultwing::test
