// Conversion of file names between the POSIX form in which build scripts write them and the
// Windows form the Microsoft tools expect. On Linux, Windows programs see the host's files the
// way Wine shows them: the POSIX root is drive Z:, and "/cygdrive/x" names drive X. On Windows
// the POSIX root is the folder of the POSIX environment the build runs in (MSYS2 or Cygwin).
#pragma once

#include <string>
#include <string_view>

namespace zarn {

// How POSIX names and Windows names correspond on a host.
struct PathConvention {
    // The Windows folder that is the POSIX root "/": "Z:" where Wine shows the Linux root, or
    // an install folder such as "C:\msys64"; no separator at its end.
    std::string posixRoot = "Z:";
    // Whether "/c/x" names drive C:, as MSYS2 writes it.
    bool msysDrives = false;
    // What a POSIX name puts before a drive letter: "/cygdrive/" as Cygwin, or "/" as MSYS2.
    std::string drivePrefix = "/cygdrive/";
};

// Whether this host is a POSIX system, where a Windows tool runs under Wine or a POSIX program
// (the LLVM adapters) takes its place, and programs that read a tool's command line themselves
// (a compiler cache) read file names in POSIX form.
bool isPosixHost();

// This host's convention: the default on POSIX systems. On Windows the root is the folder
// ZARN_POSIX_ROOT names (Z: when it is unset), "/c/x" names drive C:, and drives are written
// "/c/…" when MSYSTEM says the build runs under MSYS2, "/cygdrive/c/…" otherwise.
const PathConvention& hostPathConvention();

// "/a/b" -> "Z:\a\b", "/cygdrive/c/x" -> "C:\x", "a/b" -> "a\b", "//srv/s" -> "\\srv\s".
// A name already in Windows form keeps its text with every separator written as '\'.
std::string toWindowsPath(std::string_view path, const PathConvention& convention);

// "Z:\a" -> "/a", "C:\x" -> "/cygdrive/c/x", "a\b" -> "a/b", "\\srv\s" -> "//srv/s".
// Runs of separators collapse, so names with escaped backslashes ("c:\\dir") convert too.
std::string toPosixPath(std::string_view path, const PathConvention& convention);

// The same, by this host's convention.
inline std::string toWindowsPath(std::string_view path) {
    return toWindowsPath(path, hostPathConvention());
}
inline std::string toPosixPath(std::string_view path) {
    return toPosixPath(path, hostPathConvention());
}

} // namespace zarn
