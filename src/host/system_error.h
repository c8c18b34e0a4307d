// The error of the last failed system call, as each host keeps it: errno on POSIX systems,
// GetLastError() on Windows. Used by the diagnostics and by the host layer itself.
#pragma once

#include <string>

namespace zarn {

unsigned long lastSystemError();
void restoreSystemError(unsigned long code);

// The system's own text for the error, with the line end the system gives it; empty when the
// system has no text for it.
std::string systemErrorReport(unsigned long code);

} // namespace zarn
