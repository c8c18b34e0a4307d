#include "host/environment.h"

#include "host/diagnostics.h"

#include <cstdlib>

namespace zarn {

std::optional<std::string> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

void setEnvironmentValue(const char* name, const std::string& value) {
    if (setenv(name, value.c_str(), 1) != 0)
        win32FatalError("setenv(\"%s\")", name);
}

} // namespace zarn
