// File tests, reads and writes. Names may come in either form ("libs\m.lib", "Z:\tmp\a.lst",
// "/tmp/a.lst"): they are mapped to the host's own form before the system sees them, while
// callers keep the name as it was for their messages and records. On failure lastErrorText()
// says why.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace zarn {

// Whether the file (or directory) exists.
bool fileExists(std::string_view name);

// Whether both names are one file that exists (the same entry of the file system, also when
// reached through links or in other forms).
bool sameFile(std::string_view first, std::string_view second);

// Reads the whole file into contents. False when it cannot be opened or read, or when it is a
// directory or a device.
bool readWholeFile(std::string_view name, std::string& contents);

enum class WriteOutcome { written, openFailed, writeFailed, closeFailed };

// Gives the file the text as its whole contents. A regular file
// (or nothing yet) is replaced at once by a new file written beside it: it holds either its old
// contents or all of the new ones, also after a full disk or a stop signal, and through a
// symbolic link the file it points to is replaced (on POSIX hosts). A device, a FIFO or a
// descriptor's name (/dev/stdout) is written directly.
WriteOutcome writeWholeFile(std::string_view name, std::string_view text);

// Whether writeWholeFile could make the file; false when it could not even begin (a missing
// directory, a directory as the file, no permission).
bool canWriteWholeFile(std::string_view name);

// Removes the file; false when it cannot (it may not exist).
bool removeFile(std::string_view name);

// Writes every byte to the stream, zero bytes included; false on a write error.
bool writeBytes(std::FILE* stream, std::string_view bytes);

} // namespace zarn
