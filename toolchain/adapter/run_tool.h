// Starting the LLVM tool: in place of the adapter, or as a child whose output is rewritten
// before it is passed on. Arguments too long for the system reach the tool in a response file.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn::toolchain {

// Replaces this process with the program; returns only to report that it could not, with
// status 1. When the arguments are too long for the system, the program runs as a child
// instead, with its arguments in a response file, and its exit status is returned.
int runTool(const std::string& program, const std::vector<std::string>& arguments,
            const char* adapterName);

// Runs the program as a child on this process's standard streams and returns its exit status,
// for a step after which the adapter has more to do.
int runToCompletion(const std::string& program, const std::vector<std::string>& arguments,
                    const char* adapterName);

// Runs the program, writes its standard output as the rewrite makes it and its standard error
// as they were, and returns its exit status (1 if the output is lost).
int runRewritingOutput(const std::string& program, const std::vector<std::string>& arguments,
                       const char* adapterName,
                       const std::function<std::string(std::string_view)>& rewrite);

} // namespace zarn::toolchain
