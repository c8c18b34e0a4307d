// Runs one tool as a child process and captures what it writes.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

namespace zarn {

// Everything a child wrote to one of its output streams, zero bytes included. On Linux it lives
// in an anonymous mapping that grows in place and asks for huge pages, so a capture of hundreds
// of megabytes costs neither a second copy of itself nor a page fault for every 4 KiB.
struct CapturedOutput {
    char* bytes = nullptr;
    std::size_t size = 0;     // bytes captured
    std::size_t capacity = 0; // bytes reserved

    CapturedOutput() = default;
    ~CapturedOutput();
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;
};

std::string_view capturedText(const CapturedOutput& output);

// Writes a capture to a standard stream, after what the stream holds buffered. False when the
// stream does not take it all (lastErrorText() says why).
bool writeCaptured(std::FILE* stream, const CapturedOutput& output);

// Starts the command line's first word, found along PATH and never through a shell, with the
// rest as its arguments and an empty standard input; appends its standard output and standard
// error to the two captures as they arrive; and returns its exit status once both streams have
// ended and the child is gone. On POSIX hosts the line is split by the Windows C runtime's
// rules, a child killed by signal n gives 128+n, and a stop signal (hang-up, interrupt, quit,
// terminate) sent to zarn meanwhile is sent on to the child and makes a status of 0 into
// 128+n. On Windows the line goes to the child as it is. When the system refuses the command
// line for its length, the tool gets the arguments in a temporary response file named as
// "@file", removed afterwards; the program words (the tool, or a launcher and the tool it
// starts) stay on the line. A failure of the system is a fatal report; with startFailure given,
// a program that cannot be started is reported in zarn's own words as that (startFailureError).
//
// With StandardOutput::file the tool's standard output goes to a file in memory that is read
// once the tool has ended: for an output that is small and written in many pieces, such as a
// compile's include notes, which through a pipe would wake zarn once for each. On Linux only;
// elsewhere, and where the system gives no such file, it goes through a pipe as ever.
enum class StandardOutput { pipe, file };
int runExternalProcess(std::string_view commandLine, CapturedOutput& output, CapturedOutput& error,
                       std::size_t programWords = 1,
                       StandardOutput standardOutput = StandardOutput::pipe,
                       std::string_view startFailure = {});

// When zarn was asked to stop while a tool ran (a stop signal on POSIX systems, Ctrl-C on
// Windows), ends zarn the way that request ends a program, now that the tool is gone and its
// output passed on: so the shell or make that asked sees zarn stopped, not merely failed.
// Returns otherwise.
void finishAsStopped();

} // namespace zarn
