// Writing to file descriptors, for the POSIX host layer and the programs beside zarn that run
// on POSIX systems only.
#pragma once

#include <string>
#include <string_view>

namespace zarn {

// Writes every byte to the descriptor, retrying interrupted writes and waiting while a
// non-blocking one is full. False, with errno set, when it does not take them all.
bool writeDescriptor(int fd, std::string_view bytes);

// A new file, open for writing and closed on exec, from a template ending in "XXXXXX" and then
// `suffixLength` more characters, which are replaced to make the name unique. -1, with errno
// set, when it cannot be made.
int createUniqueFile(std::string& pathTemplate, int suffixLength);

// A file of zarn's in the temporary directory (TMPDIR, else /tmp) that goes when the object
// does, whatever happens meanwhile.
class TemporaryFile {
  public:
    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Writes the text to a new file named <prefix><six characters><suffix>; false, with errno
    // set, when it cannot.
    bool create(std::string_view prefix, std::string_view suffix, std::string_view text);
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

} // namespace zarn
