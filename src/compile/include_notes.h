// The compiler's notes of the files it includes ("/showIncludes"), which give a compile's
// dependencies without a second, preprocessing run.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The words cl.exe starts each note with; compilers that speak another language name theirs
// in ZARN_SHOWINCLUDES_PREFIX.
inline constexpr std::string_view defaultIncludeNotePrefix = "Note: including file:";

// Set to "user" for a compile whose notes need name only the user's headers, not the system's
// (those of INCLUDE and of the compiler's own directories): the LLVM adapter then asks clang-cl
// for such notes ("/showIncludes:user"); cl.exe itself names every header.
inline constexpr const char* userHeaderNotesVariable = "ZARN_INCLUDE_NOTES";

// Takes every line that starts with the prefix, or with the English one, out of the text, in
// place, keeping every other byte in order, and returns the new size: a localized cl.exe's
// prefix may be set for a build whose compiler is clang-cl, which writes English notes whatever
// the setting. The name of each note, what follows the prefix and the blanks that show the
// nesting depth up to the line end ("\n" or "\r\n"), is appended to names in Windows form: as
// cl.exe writes it, or converted from the POSIX form of a compiler on a POSIX host (clang-cl
// writes "/tmp/a.h" where cl.exe would write "Z:\tmp\a.h"). With tracing on, each note is shown
// as written, with the name it is read as where that differs.
std::size_t takeIncludeNotes(char* text, std::size_t size, std::string_view prefix,
                             std::vector<std::string>& names);

} // namespace zarn
