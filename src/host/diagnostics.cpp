#include "host/diagnostics.h"

#include "host/output.h"
#include "host/program_end.h"
#include "host/system_error.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace zarn {

bool traceEnabled = false;

namespace {

std::string formatMessage(const char* format, va_list arguments) {
    va_list copy;
    va_copy(copy, arguments);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0)
        return std::string();
    std::string message(static_cast<std::size_t>(length), '\0');
    std::vsnprintf(message.data(), message.size() + 1, format, arguments);
    return message;
}

} // namespace

void traceInvocation(std::string_view commandLine) {
    if (!traceEnabled)
        return;
    std::string trace = "Invoking external process: ``";
    trace.append(commandLine);
    trace += "''\n";
    writeOwnOutput(trace);
}

void reportWin32Error(bool fatal, std::string_view operation) {
    std::string text = systemErrorReport(lastSystemError());
    std::string report = "Win32 API ";
    report += fatal ? "FATAL ERROR" : "error";
    report += ", ";
    report += operation;
    // Without a text of the system's the report ends with the operation, without a line end.
    if (!text.empty()) {
        report += ":\n\t";
        report += text;
    }
    std::fflush(stdout);
    std::fwrite(report.data(), 1, report.size(), stderr);
    if (fatal)
        endProgram(1);
}

void startFailureError(std::string_view what) {
    std::string report = "Couldn't start ";
    report.append(what);
    report += ": ";
    report += lastErrorText();
    report += '\n';
    std::fflush(stdout);
    std::fwrite(report.data(), 1, report.size(), stderr);
    endProgram(1);
}

void win32Error(const char* format, ...) {
    unsigned long code = lastSystemError();
    va_list arguments;
    va_start(arguments, format);
    std::string message = formatMessage(format, arguments);
    va_end(arguments);
    restoreSystemError(code);
    reportWin32Error(false, message);
}

void win32FatalError(const char* format, ...) {
    unsigned long code = lastSystemError();
    va_list arguments;
    va_start(arguments, format);
    std::string message = formatMessage(format, arguments);
    va_end(arguments);
    restoreSystemError(code);
    reportWin32Error(true, message);
    endProgram(1); // not reached: a fatal report ends the program
}

} // namespace zarn
