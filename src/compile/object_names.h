// gcc's names for the objects of a compile that names none: cl.exe would write "a.obj" for
// "a.c", where gcc writes "a.o", which configure's OBJEXT and make's rules expect.
#pragma once

#include "compile/compiler_args.h"

#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The object gcc writes for the source: its name, in the working directory, with ".o" for its
// ending ("src/a.c" gives "a.o").
std::string gccObjectName(std::string_view source);

// The compile split into one compile of each source, each writing its own gccObjectName:
// cl.exe takes one "/Fo" name for all its sources.
std::vector<CompilerArgs> compilesOfEachSource(const CompilerArgs& compiler);

} // namespace zarn
