// Conversion of file names between the POSIX form in which build scripts write them and the
// Windows form the Microsoft tools expect. Windows programs on this host see its files the way
// Wine shows them: the POSIX root is drive Z:, and "/cygdrive/x" names drive X.
#pragma once

#include <string>
#include <string_view>

namespace zarn {

// "/a/b" -> "Z:\a\b", "/cygdrive/c/x" -> "C:\x", "a/b" -> "a\b", "//srv/s" -> "\\srv\s".
// A name already in Windows form keeps its text with every separator written as '\'.
std::string toWindowsPath(std::string_view path);

// "Z:\a" -> "/a", "C:\x" -> "/cygdrive/c/x", "a\b" -> "a/b", "\\srv\s" -> "//srv/s".
// Runs of separators collapse, so names with escaped backslashes ("c:\\dir") convert too.
std::string toPosixPath(std::string_view path);

} // namespace zarn
