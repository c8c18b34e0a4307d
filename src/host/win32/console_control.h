// Ctrl-C and Ctrl-Break on Windows, which reach every process of the console at once: while a
// tool runs, or while a file of zarn's is being replaced, zarn takes note of them instead of
// ending, so that it waits for the tool and leaves no half-written file.
#pragma once

namespace zarn {

class ConsoleControlNoted {
  public:
    ConsoleControlNoted();
    ~ConsoleControlNoted();
    ConsoleControlNoted(const ConsoleControlNoted&) = delete;
    ConsoleControlNoted& operator=(const ConsoleControlNoted&) = delete;

    // Whether an interrupt came while this, or one before it, lived.
    bool received() const;
};

// How a process ends that an interrupt ended: STATUS_CONTROL_C_EXIT.
[[noreturn]] void endAsInterrupted();

} // namespace zarn
