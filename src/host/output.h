// Writing bytes out: every byte, waiting for a reader that is slow or made the stream
// non-blocking, and saying so when the file or stream takes no more.
#pragma once

#include <cstdio>
#include <string_view>

namespace zarn {

// Writes every byte to the descriptor, retrying interrupted writes. False, with errno set, when
// it does not take them all.
bool writeDescriptor(int fd, std::string_view bytes);

// Writes every byte to the stream, after what the stream holds buffered. False, with errno
// set, when the stream does not take it all.
bool writeToStream(std::FILE* stream, std::string_view bytes);

// zarn's own lines on standard output (the version, the trace): a failure to write them is
// "Couldn't write to ``standard output'': <reason>" and ends the program with status 1.
void writeOwnOutput(std::string_view text);

} // namespace zarn
