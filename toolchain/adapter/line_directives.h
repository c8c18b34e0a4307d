// clang-cl's preprocessed text in the form cl.exe writes it.
#pragma once

#include <string>
#include <string_view>

namespace zarn::toolchain {

// Rewrites each `#line N "name"` directive: the name in Windows form with every backslash
// doubled ("Z:\\tmp\\a.h"), as cl.exe writes it, and drops the directives of clang's pseudo-files
// ("<built-in>", "<command line>"). Every other byte is kept.
std::string clLineDirectives(std::string_view preprocessed);

} // namespace zarn::toolchain
