#include "host/posix/signals.h"

#include "host/process.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace zarn {

namespace {

constexpr int stopSignals[4] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

// The last stop signal zarn was sent while it forwarded them; it stays, since a run that was
// asked to stop ends once its tool is gone.
volatile sig_atomic_t receivedSignal = 0;
volatile sig_atomic_t forwardingChild = 0;
// How many StopSignalsForwarded live: the outermost installs the handlers.
int forwardingDepth = 0;

sigset_t stopSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : stopSignals)
        sigaddset(&set, signal);
    return set;
}

void forwardSignal(int signal) {
    int savedErrno = errno;
    receivedSignal = signal;
    if (forwardingChild > 0)
        kill(static_cast<pid_t>(forwardingChild), signal);
    errno = savedErrno;
}

bool endsProgram(int signal) {
    struct sigaction action;
    return sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_DFL;
}

} // namespace

StopSignalsHeld::StopSignalsHeld() {
    sigset_t set = stopSignalSet();
    sigprocmask(SIG_BLOCK, &set, &previous_);
}

StopSignalsHeld::~StopSignalsHeld() {
    sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

bool StopSignalsHeld::stopPending() const {
    sigset_t pending;
    if (sigpending(&pending) != 0)
        return false;
    for (int signal : stopSignals) {
        if (sigismember(&pending, signal) == 1 && sigismember(&previous_, signal) == 0 &&
            endsProgram(signal))
            return true;
    }
    return false;
}

StopSignalsForwarded::StopSignalsForwarded() {
    for (bool& installed : installed_)
        installed = false;
    if (forwardingDepth++ > 0)
        return;
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = forwardSignal;
    action.sa_flags = SA_RESTART;
    sigfillset(&action.sa_mask);
    for (int i = 0; i < 4; ++i) {
        // A signal ignored when zarn started stays ignored, for zarn and for the tool, as a
        // shell leaves it for a command started in the background.
        if (sigaction(stopSignals[i], nullptr, &previous_[i]) != 0 ||
            previous_[i].sa_handler == SIG_IGN)
            continue;
        installed_[i] = sigaction(stopSignals[i], &action, nullptr) == 0;
    }
}

StopSignalsForwarded::~StopSignalsForwarded() {
    stopForwarding();
    --forwardingDepth;
    for (int i = 0; i < 4; ++i) {
        if (installed_[i])
            sigaction(stopSignals[i], &previous_[i], nullptr);
    }
}

void StopSignalsForwarded::forwardTo(pid_t child) {
    sigset_t set = stopSignalSet(), previous;
    sigprocmask(SIG_BLOCK, &set, &previous);
    forwardingChild = child;
    if (receivedSignal != 0)
        kill(child, receivedSignal);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
}

void StopSignalsForwarded::stopForwarding() {
    sigset_t set = stopSignalSet(), previous;
    sigprocmask(SIG_BLOCK, &set, &previous);
    forwardingChild = 0;
    sigprocmask(SIG_SETMASK, &previous, nullptr);
}

int StopSignalsForwarded::received() const {
    return receivedSignal;
}

int waitForChild(pid_t child, StopSignalsForwarded& forwarded) {
    siginfo_t ended;
    while (waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOWAIT) < 0) {
        if (errno != EINTR)
            return -1;
    }
    forwarded.stopForwarding();
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

void finishAsStopped() {
    int signal = receivedSignal;
    if (signal == 0)
        return;
    std::fflush(nullptr);
    struct sigaction fallback;
    std::memset(&fallback, 0, sizeof fallback);
    fallback.sa_handler = SIG_DFL;
    sigaction(signal, &fallback, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
    _exit(128 + signal); // not reached: the signal ends zarn
}

FileSizeLimitAsError::FileSizeLimitAsError() {
    struct sigaction ignore;
    std::memset(&ignore, 0, sizeof ignore);
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous_);
}

FileSizeLimitAsError::~FileSizeLimitAsError() {
    sigaction(SIGXFSZ, &previous_, nullptr);
}

} // namespace zarn
