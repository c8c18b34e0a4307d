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
// instead of ending zarn, which goes on to wait for the child.
class StopSignalsForwarded {
  public:
    StopSignalsForwarded();
    ~StopSignalsForwarded();
    StopSignalsForwarded(const StopSignalsForwarded&) = delete;
    StopSignalsForwarded& operator=(const StopSignalsForwarded&) = delete;

    // From now on signals go to this child; one that came before it is sent to it at once.
    void forwardTo(pid_t child);
    // The last stop signal received, or 0.
    int received() const;

  private:
    struct sigaction previous_[4];
    bool installed_[4];
};

} // namespace zarn
