// Reports of failed system calls, and the trace switch.
#pragma once

#include <string>
#include <string_view>

namespace zarn {

// Set by "--zarndbg"; the process runner and the LIB export then say what they do.
extern bool traceEnabled;

// With tracing on, "Invoking external process: ``<command line>''" on standard output.
void traceInvocation(std::string_view commandLine);

// Writes "Win32 API <severity>, <operation>:\n\t<system text>" to standard error for the error
// of the last failed system call; a fatal report then ends the program with status 1.
void reportWin32Error(bool fatal, std::string_view operation);

// The system's text for the error of the last failed system call, without a line end, for
// zarn's own messages ("Couldn't write to ``a.d'': <text>").
std::string lastErrorText();

// zarn's own report of a program it could not start, "Couldn't start <what>: <system text>",
// for what the user named in zarn's settings rather than a tool zarn runs; ends the program with
// status 1.
[[noreturn]] void startFailureError(std::string_view what);

// printf-style front ends of the report; formatting has no length limit.
void win32Error(const char* format, ...) __attribute__((format(printf, 1, 2)));
[[noreturn]] void win32FatalError(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace zarn
