// clang-cl's include notes ("/showIncludes") in the form cl.exe writes them.
#pragma once

#include <string>
#include <string_view>

namespace zarn::toolchain {

// Rewrites the name of each "Note: including file:" line in Windows form, keeping the blanks
// that show the nesting depth and the line end; every other byte is kept.
std::string clIncludeNotes(std::string_view output);

} // namespace zarn::toolchain
