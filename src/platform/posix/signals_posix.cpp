// POSIX: the signals that end a run cleanly instead of killing the process half-way through a file.
#include <csignal>
#include <unistd.h>

#include "platform/platform.h"

namespace vaultwing::platform {
namespace {

// Only this flag is touched in the handler; the run polls it at every step of a file.
volatile std::sig_atomic_t gStopSignal = 0;

extern "C" void NoteStopSignal(int signal) {
    gStopSignal = signal;
}
// A handler that does nothing: the system call then fails (EFBIG, EPIPE) and the program reports
// it. Unlike an ignored signal it is reset for the programs this one starts.
extern "C" void LetCallFail(int) {}

void Catch(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART; // the terminal prompt polls, and poll is never restarted
    (void)::sigaction(signal, &action, nullptr);
}

} // namespace

void CatchStopSignals() {
    for (const int signal : {SIGHUP, SIGINT, SIGTERM, SIGQUIT})
        Catch(signal, NoteStopSignal);
    Catch(SIGXFSZ, LetCallFail);
    Catch(SIGPIPE, LetCallFail);
}

int StopSignal() {
    return gStopSignal;
}

bool SignalEndsProgram(int signal) {
    return signal == SIGHUP || signal == SIGTERM || signal == SIGQUIT;
}

void EndBySignal(int signal) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    (void)::sigaction(signal, &action, nullptr);
    sigset_t only{};
    sigemptyset(&only);
    sigaddset(&only, signal);
    (void)::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    (void)::raise(signal);
    ::_exit(128 + signal); // a signal whose default is to be ignored
}

} // namespace vaultwing::platform
