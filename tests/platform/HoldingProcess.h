#pragma once
// A second, real process that holds a file open (and optionally locked) until it is stopped:
// what another program does to a file the user drops on Vaultwing.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace vaultwing::test {

enum class Hold {
    OpenRead,    // open for reading
    OpenWrite,   // open for writing
    FlockShared, // open for reading with a shared flock
    FlockExcl,   // open for reading with an exclusive flock
    FcntlRead,   // open for reading with a POSIX read lock on the whole file
    FcntlWrite,  // open for writing with a POSIX write lock on the whole file
};

class HoldingProcess {
public:
    // `hideDescriptors`: the child makes itself non-dumpable, which hides its open files from
    // other users' processes; only its lock then gives it away (as for a program of another user).
    HoldingProcess(const std::string& path, Hold hold, bool hideDescriptors = false) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            // Child: system calls only, then wait to be killed.
            ::close(ready[0]);
            if (hideDescriptors) ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
            const bool write = hold == Hold::OpenWrite || hold == Hold::FcntlWrite;
            const int fd = ::open(path.c_str(), write ? O_WRONLY : O_RDONLY);
            bool ok = fd >= 0;
            if (ok && (hold == Hold::FlockShared || hold == Hold::FlockExcl))
                ok = ::flock(fd, hold == Hold::FlockShared ? LOCK_SH : LOCK_EX) == 0;
            if (ok && (hold == Hold::FcntlRead || hold == Hold::FcntlWrite)) {
                struct flock lock {};
                lock.l_type = hold == Hold::FcntlRead ? F_RDLCK : F_WRLCK;
                lock.l_whence = SEEK_SET;
                ok = ::fcntl(fd, F_SETLK, &lock) == 0;
            }
            const char status = ok ? '1' : '0';
            (void)!::write(ready[1], &status, 1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char status = 0;
        if (pid_ > 0 && ::read(ready[0], &status, 1) == 1) holding_ = status == '1';
        ::close(ready[0]);
    }
    HoldingProcess(const HoldingProcess&) = delete;
    HoldingProcess& operator=(const HoldingProcess&) = delete;
    ~HoldingProcess() { Stop(); }

    // True once the child has the file open (and locked).
    [[nodiscard]] bool Holding() const { return holding_; }

    void Stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        holding_ = false;
    }

private:
    pid_t pid_ = -1;
    bool holding_ = false;
};

} // namespace vaultwing::test
