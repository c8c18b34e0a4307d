// cl.exe's command line as clang-cl accepts it on Linux.
#pragma once

#include <string>
#include <vector>

namespace zarn::toolchain {

struct ClangClCommand {
    std::vector<std::string> arguments; // after the program name
    bool preprocessing = false;         // "/E": the output needs its #line directives rewritten
    bool linking = false;               // no "/c", "/E" …: clang-cl runs lld-link
    bool missingSource = false;         // no file to compile or link: cl.exe refuses that
    bool cxx = false; // "/TP", "/Tp", or an input named as C++ source: the C++ headers come first
    bool preprocessedOnly = false; // every input is a preprocessed source: no headers to find
    bool gccMode = false;          // "/D__ZARN_GCC__", which zarn's gcc mode gives every compile
};

// File names in options and inputs become POSIX names, options clang-cl no longer knows are
// dropped or mapped to their successors, and the inputs follow "--" so that no absolute name
// is taken for an option. Without arguments cl.exe shows its banner; clang-cl its version.
ClangClCommand clangClCommand(const std::vector<std::string>& clArguments);

// What zarn sets to "user" when a compile's include notes need name only the user's headers
// (gcc's "-MMD"): the system's, in INCLUDE and the compiler's own, are many and no project's.
inline constexpr const char* userHeaderNotesVariable = "ZARN_INCLUDE_NOTES";

// Asks clang-cl for those notes: "/showIncludes" (or "-showIncludes") becomes
// "/showIncludes:user", which leaves out the headers of its system directories.
void askForUserHeaderNotes(std::vector<std::string>& arguments);

// What clang-cl needs to answer as cl.exe does where build scripts tell the difference, before
// the caller's own options so that theirs win: a name used without a declaration is an error.
// clang-cl declares library functions by itself ("(void) strchr;" compiles without <string.h>)
// where cl.exe reports an undeclared identifier, so autoconf's declaration checks all said yes.
std::vector<std::string> clangClFidelityOptions();

} // namespace zarn::toolchain
