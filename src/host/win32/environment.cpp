#include "host/environment.h"

#include "host/diagnostics.h"
#include "host/win32/wide_text.h"

#include <windows.h>

namespace zarn {

std::optional<std::string> environmentValue(const char* name) {
    std::wstring wideName = toWide(name);
    std::wstring value(256, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(),
                                               static_cast<DWORD>(value.size()));
        if (length == 0)
            return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt
                                                            : std::optional<std::string>("");
        // Too small, it gives the size needed, its terminating zero counted.
        if (length < value.size()) {
            value.resize(length);
            return fromWide(value);
        }
        value.resize(length);
    }
}

void setEnvironmentValue(const char* name, const std::string& value) {
    if (!SetEnvironmentVariableW(toWide(name).c_str(), toWide(value).c_str()))
        win32FatalError("SetEnvironmentVariable(\"%s\")", name);
}

} // namespace zarn
