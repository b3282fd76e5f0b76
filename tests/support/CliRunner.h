#pragma once
// The real `vaultwing` program as a child process: its exit status and standard error. A run can
// feed standard input, limit the size of the files the program writes (SIGXFSZ ignored, so a
// write past the limit fails with EFBIG instead of killing it) or, when the tests run as root,
// run it as the unprivileged user "nobody", for whom permission bits count.
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/TempDir.h"

extern char** environ;

namespace vaultwing::test {

inline constexpr uid_t kNobody = 65534;

struct CliOptions {
    std::string input;                   // standard input; small enough for one pipe buffer
    std::optional<rlim_t> fileSizeLimit; // RLIMIT_FSIZE in bytes
    bool asNobody = false;
};

// The program where "nobody" can start it: the build tree may lie below a folder only its owner
// may enter (a clone in /root), so that user gets a copy in a temporary folder open to all.
inline std::string CliProgram(bool asNobody) {
    if (!asNobody) return VAULTWING_CLI_PATH;
    static const TempDir folder;
    static const std::string copy = [] {
        namespace fs = std::filesystem;
        const fs::perms open = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec;
        const std::string path = folder / "vaultwing";
        fs::copy_file(VAULTWING_CLI_PATH, path);
        fs::permissions(folder.Path(), open);
        fs::permissions(path, open);
        return path;
    }();
    return copy;
}

class CliProcess {
public:
    CliProcess(const std::string& home, const std::vector<std::string>& args, const CliOptions& options = {}) {
        // Everything the child needs is built before fork: between fork and exec only system calls.
        std::vector<std::string> argStore{CliProgram(options.asNobody)};
        argStore.insert(argStore.end(), args.begin(), args.end());
        std::vector<std::string> envStore{"VAULTWING_HOME=" + home};
        for (char** e = environ; *e != nullptr; ++e)
            if (std::string_view(*e).rfind("VAULTWING_HOME=", 0) != 0) envStore.emplace_back(*e);
        std::vector<char*> argv, envp;
        for (auto& a : argStore)
            argv.push_back(a.data());
        for (auto& e : envStore)
            envp.push_back(e.data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);

        int in[2], err[2];
        if (::pipe(in) != 0 || ::pipe(err) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], STDIN_FILENO);
            ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
            ::dup2(err[1], STDERR_FILENO);
            ::close(in[1]);
            ::close(err[0]);
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{options.fileSizeLimit.value_or(0), options.fileSizeLimit.value_or(0)};
            if (options.fileSizeLimit && ::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
            if (options.asNobody && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
                ::_exit(126);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(err[1]);
        errFd_ = err[0];
        if (!options.input.empty()) {
            ::signal(SIGPIPE, SIG_IGN); // a program that ended before reading must not end the tests
            (void)!::write(in[1], options.input.data(), options.input.size());
        }
        ::close(in[1]);
    }
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;
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
        if (exit_) return *exit_;
        char buffer[4096];
        for (ssize_t n; errFd_ >= 0 && (n = ::read(errFd_, buffer, sizeof buffer)) > 0;)
            err_.append(buffer, static_cast<std::size_t>(n));
        if (errFd_ >= 0) ::close(errFd_);
        errFd_ = -1;
        int status = 0;
        if (pid_ <= 0 || ::waitpid(pid_, &status, 0) != pid_) return *(exit_ = -1000);
        pid_ = -1;
        return *(exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status));
    }
    // Standard error, complete once Wait has returned.
    [[nodiscard]] const std::string& Err() const { return err_; }

private:
    pid_t pid_ = -1;
    int errFd_ = -1;
    std::string err_;
    std::optional<int> exit_;
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
