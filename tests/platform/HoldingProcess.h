#pragma once
// A second process holding a file open (and optionally locked) until stopped, as another program may.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace vaultwing::test {

// Opened for reading or writing, then an flock or a POSIX lock on the whole file, or none.
enum class Hold { OpenRead, OpenWrite, FlockShared, FlockExcl, FcntlRead, FcntlWrite };

class HoldingProcess {
public:
    // `hideDescriptors`: non-dumpable, its open files are hidden as another user's; only a lock shows.
    HoldingProcess(const std::string& path, Hold hold, bool hideDescriptors = false) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) { // system calls only, then wait to be killed
            if (hideDescriptors) ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
            const int fd =
                ::open(path.c_str(), hold == Hold::OpenWrite || hold == Hold::FcntlWrite ? O_WRONLY : O_RDONLY);
            struct flock lock {};
            lock.l_type = hold == Hold::FcntlRead ? F_RDLCK : F_WRLCK;
            const bool ok = fd >= 0 && (hold != Hold::FlockShared || ::flock(fd, LOCK_SH) == 0) &&
                            (hold != Hold::FlockExcl || ::flock(fd, LOCK_EX) == 0) &&
                            ((hold != Hold::FcntlRead && hold != Hold::FcntlWrite) || ::fcntl(fd, F_SETLK, &lock) == 0);
            (void)!::write(ready[1], ok ? "1" : "0", 1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char status = 0;
        holding_ = pid_ > 0 && ::read(ready[0], &status, 1) == 1 && status == '1';
        ::close(ready[0]);
    }
    ~HoldingProcess() { Stop(); }

    [[nodiscard]] bool Holding() const { return holding_; }

    void Stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        holding_ = false;
    }

private:
    pid_t pid_ = -1;
    bool holding_ = false;
};

} // namespace vaultwing::test
