// Runs one tool as a child process and captures what it writes.
#pragma once

#include <cstdlib>
#include <memory>
#include <string_view>

namespace zarn {

struct FreeBytes {
    void operator()(char* bytes) const { std::free(bytes); }
};

// Everything a child wrote to one of its output streams, zero bytes included. It grows with
// realloc, which the C library does for large blocks by remapping pages, so a capture of
// hundreds of megabytes never needs a second copy of itself to grow.
struct CapturedOutput {
    std::unique_ptr<char, FreeBytes> bytes;
    std::size_t size = 0;     // bytes captured
    std::size_t capacity = 0; // bytes allocated
};

std::string_view capturedText(const CapturedOutput& output);

// Splits the command line by the Windows C runtime's rules, starts its first word found along
// PATH (never through a shell) with an empty standard input, appends its standard output and
// standard error to the two captures as they arrive, and returns its exit status once both
// streams have ended and the child is reaped: 128+n for a child killed by signal n. A failure
// of the system is a fatal report.
int runExternalProcess(std::string_view commandLine, CapturedOutput& output, CapturedOutput& error);

} // namespace zarn
