#include "host/posix/signals.h"

#include <cerrno>
#include <csignal>
#include <cstring>

namespace zarn {

namespace {

constexpr int stopSignals[4] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

volatile sig_atomic_t receivedSignal = 0;
volatile sig_atomic_t forwardingChild = 0;

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
    receivedSignal = 0;
    forwardingChild = 0;
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = forwardSignal;
    action.sa_flags = SA_RESTART;
    sigfillset(&action.sa_mask);
    for (int i = 0; i < 4; ++i) {
        installed_[i] = false;
        // A signal ignored when zarn started stays ignored, for zarn and for the tool, as a
        // shell leaves it for a command started in the background.
        if (sigaction(stopSignals[i], nullptr, &previous_[i]) != 0 ||
            previous_[i].sa_handler == SIG_IGN)
            continue;
        installed_[i] = sigaction(stopSignals[i], &action, nullptr) == 0;
    }
}

StopSignalsForwarded::~StopSignalsForwarded() {
    forwardingChild = 0;
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

int StopSignalsForwarded::received() const {
    return receivedSignal;
}

} // namespace zarn
