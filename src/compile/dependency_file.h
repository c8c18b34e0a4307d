// Make dependency files from the compiler's preprocessed output.
#pragma once

#include "compile/compiler_args.h"
#include "host/files.h"

#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The file names of the "#line" directives in a preprocessed text, exactly as written between
// the quotes, each once, in ascending byte order. The views point into the text.
std::vector<std::string_view> scanLineDirectives(std::string_view preprocessed);

// The make rule naming every file as a prerequisite of the target, in POSIX form and escaped
// for make (the target is the Makefile's own text and is written as given); with phonyTargets also
// an empty rule per file, so a deleted header breaks no build.
// The names in sources get no empty rule: gcc gives none to the file it compiles.
std::string dependencyFileText(std::string_view target, const std::vector<std::string_view>& names,
                               bool phonyTargets, const std::vector<std::string>& sources = {});

// "Couldn't write to ``FILE'': reason" (or "close") on standard error, for a file zarn writes.
void reportUnwritable(const std::string& file, WriteOutcome outcome);

// Writes the rule for the names (distinct, in ascending byte order, as the compiler wrote them)
// to the file the request names, replacing it whole. A file that cannot be written ends the
// program with status 1, after saying why.
void writeDependencyFile(const DependencyOptions& request,
                         const std::vector<std::string_view>& names);

// Runs the current record's tool as a preprocessor and writes the dependency file the compiler
// record's request names. Returns only on success: a failed run ends the program with the tool's
// status and its error text, a file that cannot be written with status 1.
void runDependencyPass(const CompilerArgs& compiler, const Tool& current);

// Before a compile that is to write the dependency file from its include notes: ends the
// program, as a failed write does, when the file cannot be made at all, so that no object is
// compiled without its rule for that reason.
void checkDependencyFileWritable(const DependencyOptions& request);

// Writes the dependency file of a compile from its include notes: the sources as the compiler
// was given them and every file it included. False, after saying why, when it cannot.
bool writeDependencyFileFromNotes(const CompilerArgs& compiler,
                                  const std::vector<std::string>& included);

// The files a compile makes that make takes for its targets: the output file, or the objects
// (or, when it links, the program) named after the sources.
std::vector<std::string> compileOutputs(const CompilerArgs& compiler);

} // namespace zarn
