// Classification of a gcc-style command line into the two argument records.
#pragma once

#include "compile/compiler_args.h"
#include "link/linker_args.h"

#include <string_view>

namespace zarn {

inline constexpr const char* versionLine = "$Revision: 1.45 $\n";
inline constexpr std::string_view versionNumber = "1.45";

// Gives gcc's meaning to what gcc-style build systems send, beside zarn's own options.
inline constexpr std::string_view gccModeOption = "--zarngcc";

// Reads argv[1] to argv[argc-1] into the records, from left to right, and returns the record
// that is current at the end: the tool that runs. "--zarnversion" and an argument that no rule
// accepts end the program (status 0 and 1).
Tool& classifyArguments(int argc, char* const* argv, CompilerArgs& compiler, LinkerArgs& linker);

} // namespace zarn
