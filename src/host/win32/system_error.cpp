#include "host/system_error.h"

#include "host/diagnostics.h"
#include "host/win32/wide_text.h"

#include <windows.h>

namespace zarn {

unsigned long lastSystemError() {
    return GetLastError();
}

void restoreSystemError(unsigned long code) {
    SetLastError(code);
}

std::string systemErrorReport(unsigned long code) {
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0)
        return std::string();
    std::string report = fromWide(std::wstring_view(text, length));
    LocalFree(text);
    return report;
}

std::string lastErrorText() {
    DWORD code = GetLastError();
    std::string text = systemErrorReport(code);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = "error " + std::to_string(code);
    SetLastError(code);
    return text;
}

} // namespace zarn
