// clang-cl's preprocessed text in the form cl.exe writes it.
#pragma once

#include <string>
#include <string_view>

namespace zarn::toolchain {

// Rewrites each `#line N "name"` directive: the name in Windows form with every backslash
// doubled ("Z:\\tmp\\a.h"), as cl.exe writes it, and drops the directives of clang's pseudo-files
// ("<built-in>", "<command line>"). Every other byte is kept.
std::string clLineDirectives(std::string_view preprocessed);

// For gcc mode's preprocessed text, which is compiled elsewhere (distcc's servers), keeps
// clang's GNU line markers (`# N "name" FLAGS`), whose flag 3 marks a system header so that
// its code gives no warnings there, and makes each relative name absolute from the directory,
// so that the compile's debug information names the files where they are. The markers of
// clang's pseudo-files ("<built-in>") and every other byte are kept.
std::string gnuLineMarkers(std::string_view preprocessed, std::string_view directory);

} // namespace zarn::toolchain
