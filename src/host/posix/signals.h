// On POSIX hosts, the signals that ask zarn to stop (hang-up, interrupt, quit, terminate):
// held off while a file of zarn's is being replaced, and passed on to a tool while it runs, so
// that neither a half-written file nor a running tool outlives zarn.
#pragma once

#include <csignal>

namespace zarn {

// While it lives, the stop signals wait instead of ending zarn; they take effect when it goes.
class StopSignalsHeld {
  public:
    StopSignalsHeld();
    ~StopSignalsHeld();
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

    // Whether a held signal will end zarn once it is let through.
    bool stopPending() const;

  private:
    sigset_t previous_;
};

// While it lives, a stop signal sent to zarn is sent on to the child (once there is one)
// instead of ending zarn, which goes on to wait for the child. They nest: an inner one passes
// on what the outer one received.
class StopSignalsForwarded {
  public:
    StopSignalsForwarded();
    ~StopSignalsForwarded();
    StopSignalsForwarded(const StopSignalsForwarded&) = delete;
    StopSignalsForwarded& operator=(const StopSignalsForwarded&) = delete;

    // From now on signals go to this child; one that came before it is sent to it at once.
    void forwardTo(pid_t child);
    // No more signals go to the child (it has ended, and its process id may be reused).
    void stopForwarding();
    // The last stop signal received, or 0.
    int received() const;

  private:
    struct sigaction previous_[4];
    bool installed_[4];
};

// Waits for the child and reaps it, forwarding stop signals to it until it has ended and not a
// moment after, when its process id may go to another process. Its exit status, 128+n when
// signal n ended it; -1, with errno set, when waiting fails.
int waitForChild(pid_t child, StopSignalsForwarded& forwarded);

// While it lives, a write beyond the file size limit (ulimit -f) fails with EFBIG, which zarn
// reports, instead of ending zarn with SIGXFSZ half way through a file.
class FileSizeLimitAsError {
  public:
    FileSizeLimitAsError();
    ~FileSizeLimitAsError();
    FileSizeLimitAsError(const FileSizeLimitAsError&) = delete;
    FileSizeLimitAsError& operator=(const FileSizeLimitAsError&) = delete;

  private:
    struct sigaction previous_;
};

} // namespace zarn
