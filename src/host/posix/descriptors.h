// Writing to file descriptors, for the POSIX host layer and the programs beside zarn that run
// on POSIX systems only.
#pragma once

#include <string_view>

namespace zarn {

// Writes every byte to the descriptor, retrying interrupted writes and waiting while a
// non-blocking one is full. False, with errno set, when it does not take them all.
bool writeDescriptor(int fd, std::string_view bytes);

// A new file, open for writing and closed on exec, from a template ending in "XXXXXX" and then
// `suffixLength` more characters, which are replaced to make the name unique. -1, with errno
// set, when it cannot be made.
int createUniqueFile(std::string& pathTemplate, int suffixLength);

} // namespace zarn
