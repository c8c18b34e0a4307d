// Starting the LLVM tool: in place of the adapter, or, for preprocessing, as a child whose
// output is rewritten before it is passed on.
#pragma once

#include <string>
#include <vector>

namespace zarn::toolchain {

// Replaces this process with the program; returns only to report that it could not.
[[noreturn]] void execTool(const std::string& program, const std::vector<std::string>& arguments,
                           const char* adapterName);

// Runs the program, writes its standard output with the #line directives in cl.exe's form and
// its standard error as they were, and returns its exit status (1 if the output is lost).
int runPreprocessor(const std::string& program, const std::vector<std::string>& arguments,
                    const char* adapterName);

} // namespace zarn::toolchain
