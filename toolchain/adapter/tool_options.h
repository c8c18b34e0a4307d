// How the Microsoft tools read an argument: an option starts with '/' or '-', anything else is
// an input file. The LLVM tools on Linux read a leading '/' as the root of a file name, so the
// adapters look at every option themselves and rewrite the ones that carry file names.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace zarn::toolchain {

bool isOption(std::string_view argument);

// The option without its leading '/' or '-'.
std::string_view optionName(std::string_view option);

// The option with the file name after the first matching prefix in POSIX form, the prefix kept
// as written; nothing when no prefix matches. The linker's and librarian's option names are
// compared ignoring case, the compiler's exactly.
std::optional<std::string> withPosixValue(std::string_view option,
                                          std::initializer_list<std::string_view> prefixes,
                                          bool ignoreCase);

// Whether the option is exactly one of the names, or, for a name ending in ':', starts with it.
// Case is ignored, as the linker and the librarian ignore it.
bool linkerOptionIs(std::string_view option, std::initializer_list<std::string_view> names);

// "/MD", "/MT", "/ML" and their debug forms: cl.exe's runtime choices, which zarn hands to the
// linker and the librarian as well.
bool isRuntimeLibraryOption(std::string_view option);

} // namespace zarn::toolchain
