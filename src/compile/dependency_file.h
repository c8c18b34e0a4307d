// Make dependency files from the compiler's preprocessed output.
#pragma once

#include "driver/compiler_args.h"

#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The file names of the "#line" directives in a preprocessed text, exactly as written between
// the quotes, each once, in ascending byte order. The views point into the text.
std::vector<std::string_view> scanLineDirectives(std::string_view preprocessed);

// The make rule naming every file as a prerequisite of the target, in POSIX form and escaped
// for make (the target is the Makefile's own text and is written as given); with phonyTargets also an empty rule per file, so a deleted header breaks no build.
std::string dependencyFileText(std::string_view target, const std::vector<std::string_view>& names,
                               bool phonyTargets);

// Runs the current record's tool as a preprocessor and writes the dependency file the request
// names. Returns only on success: a failed run ends the program with the tool's status and its
// error text, a file that cannot be written with status 1.
void runDependencyPass(const DependencyOptions& request, const Tool& current);

} // namespace zarn
