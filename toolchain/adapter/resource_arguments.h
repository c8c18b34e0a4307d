// rc.exe's and cvtres.exe's command lines as LLVM's llvm-rc and llvm-cvtres accept them on Linux.
#pragma once

#include <string>
#include <vector>

namespace zarn::toolchain {

// An rc.exe run as two: the compiler preprocesses the script, as rc.exe does with its own
// preprocessor, through the same headers and options as a compile (so "windows.h" and
// "winver.h" are the runtime's and Wine's, found in any letter case); llvm-rc, told not to
// preprocess again, compiles the text. llvm-rc would otherwise look for a clang of its own,
// with none of those headers.
struct RcCommand {
    std::vector<std::string> preprocessing; // clang-cl's arguments
    std::vector<std::string> compiling;     // llvm-rc's arguments
    std::string error;                      // why the command line is refused; empty if it is not
};

// File names become POSIX names; "/i" "/d" "/u" "/x" go to the preprocessor with RC_INVOKED
// defined, "/i" to llvm-rc too (it looks for icons and other files there), preceded by the
// script's own directory, where rc.exe looks for them and llvm-rc would look in the directory
// of the preprocessed text; the other options go to llvm-rc. The preprocessed text is
// preprocessedFile.
RcCommand rcCommand(const std::vector<std::string>& rcArguments,
                    const std::string& preprocessedFile);

// cvtres.exe's options are llvm-cvtres's; file names become POSIX names.
std::vector<std::string> cvtresArguments(const std::vector<std::string>& cvtresArguments);

} // namespace zarn::toolchain
