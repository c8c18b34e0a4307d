// The search-path variables the tools read: LIB for libraries, INCLUDE for headers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zarn::toolchain {

// Each ";"-separated entry in POSIX form: "Z:\lib;out" -> "/lib;out". Empty entries stay.
std::string posixSearchPath(std::string_view windowsList);

// Rewrites LIB and INCLUDE, where set, for this process and the tool it becomes.
void convertSearchPathVariables();

// The working directory; nothing when the system cannot tell it (errno says why).
std::optional<std::string> workingDirectory();

} // namespace zarn::toolchain
