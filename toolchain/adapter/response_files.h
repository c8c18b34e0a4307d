// Response files: arguments kept in a file and named on the command line as "@file", the way
// around a system's limit on the length of a command line. zarn hands the Microsoft tools
// one when it must, and the LLVM tools take one from the adapters in the same case.
#pragma once

#include "host/posix/descriptors.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn::toolchain {

// The arguments of a response file's text, read as the Microsoft tools read it: words split by
// the Windows C runtime's rules, line ends counting as blanks.
std::vector<std::string> responseFileArguments(std::string_view text);

// The arguments with every "@file" replaced by the arguments in that file (its name may be in
// Windows form). A file that cannot be read is reported, naming the adapter, and gives nothing.
std::optional<std::vector<std::string>>
expandResponseFiles(const std::vector<std::string>& arguments, const char* adapterName);

// Whether the program can be started with these arguments, or the system would refuse them
// for their length.
bool fitsOnCommandLine(const std::string& program, const std::vector<std::string>& arguments);

// The arguments, quoted, in a temporary file that goes when the object does.
class ToolResponseFile {
  public:
    // False, with errno set, when the file cannot be written.
    bool create(const std::vector<std::string>& arguments);
    const std::string& path() const { return file_.path(); }

  private:
    TemporaryFile file_;
};

} // namespace zarn::toolchain
