// Writing bytes out: every byte, waiting for a reader that is slow or made the stream
// non-blocking, and saying so when the file or stream takes no more.
#pragma once

#include <cstdio>
#include <string_view>

namespace zarn {

// Writes every byte to the stream, after what the stream holds buffered. False, when the
// stream does not take it all (lastErrorText() says why).
bool writeToStream(std::FILE* stream, std::string_view bytes);

// The same for bytes that are never written to again and whose memory is never reused: where
// the system allows, their pages are handed to a pipe by reference instead of copied.
bool lendToStream(std::FILE* stream, std::string_view bytes);

// zarn's own lines on standard output (the version, the trace): a failure to write them is
// "Couldn't write to ``standard output'': <reason>" and ends the program with status 1.
void writeOwnOutput(std::string_view text);

} // namespace zarn
