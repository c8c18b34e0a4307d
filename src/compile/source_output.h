// A compile that would write over one of its own sources.
#pragma once

#include "compile/compiler_args.h"

#include <optional>
#include <string>

namespace zarn {

// The source or header named on the command line that is the very file the tool is to write
// (its "-o" file, or gcc mode's "-E -o" file); nothing when none is.
std::optional<std::string> sourceWrittenOver(const CompilerArgs& compiler, const Tool& current);

} // namespace zarn
