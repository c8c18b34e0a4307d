#include "host/system_error.h"

#include "host/diagnostics.h"

#include <cerrno>
#include <cstring>

namespace zarn {

unsigned long lastSystemError() {
    return static_cast<unsigned long>(errno);
}

void restoreSystemError(unsigned long code) {
    errno = static_cast<int>(code);
}

std::string systemErrorReport(unsigned long code) {
    return std::string(std::strerror(static_cast<int>(code))) + "\n";
}

std::string lastErrorText() {
    return std::strerror(errno);
}

} // namespace zarn
