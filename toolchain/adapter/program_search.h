// Finding a program along PATH, as execvp would.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zarn::toolchain {

// The first "<directory>/<name>" along PATH that is an executable regular file; an empty entry
// of PATH is the working directory. Without PATH, the system's default directories.
std::optional<std::string> findProgram(std::string_view name);

} // namespace zarn::toolchain
