// The header search path in INCLUDE, which cl.exe searches after its "/I" directories: gcc's
// "-idirafter" directories come after the system's headers, so after INCLUDE's own entries.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zarn {

// The name of the variable that tells the LLVM adapter which entries of INCLUDE are such
// directories, so that it keeps them after the headers it adds behind INCLUDE's entries.
inline constexpr const char* includeAfterVariable = "ZARN_INCLUDE_AFTER";

// INCLUDE as zarn found it, followed by the directories, joined by ";".
std::string composeIncludePath(const std::optional<std::string>& startup,
                               const std::vector<std::string>& dirsAfter);

// Sets INCLUDE for the next tool to the start-up value followed by the directories (in Windows
// form), and ZARN_INCLUDE_AFTER to the directories; traced as LIB is.
void exportIncludeDirsAfter(const std::optional<std::string>& startup,
                            const std::vector<std::string>& dirsAfter);

} // namespace zarn
