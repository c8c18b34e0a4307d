// The library search path: LIB as zarn found it, and the value each tool run gets.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zarn {

// LIB at start-up; nothing when it was unset or empty.
extern std::optional<std::string> savedLibPath;

// Reads LIB into savedLibPath; an unset or empty LIB leaves savedLibPath as it was.
void captureStartupLibPath();

// The start-up value followed by the library directories, joined by ";".
std::string composeLibPath(const std::optional<std::string>& startup,
                           const std::vector<std::string>& libraryDirs);

} // namespace zarn
