// GNU linker options as gcc hands them on ("-Wl,a,b", "-Xlinker a"), in link.exe's words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The stack GNU ld reserves for a Windows program, in bytes: 2 MiB, where link.exe's is 1 MiB.
inline constexpr std::string_view gnuStackReserve = "2097152";

// The words read so far: a GNU option that takes a value may get it from the next word, also
// from the next "-Xlinker".
struct GnuLinkerWords {
    std::string pending; // the option still waiting for its value, or empty
};

// How the libraries named after a word are linked, as ld's position-dependent options say.
enum class LibraryMode {
    archivesOnly,  // "-Bstatic" (also "-dn", "-static", "-non_shared")
    anyLibrary,    // "-Bdynamic" (also "-dy", "-call_shared")
    wholeArchive,  // "--whole-archive": every object of each archive
    memberArchive, // "--no-whole-archive": only the objects that are needed
};

// What one word gives the linker: options as link.exe takes them, libraries to look up as gcc's
// "-l" does ("-lNAME": NAME, "-l:FILE": ":FILE"), a change of how libraries are linked, and what
// has no equivalent there ("-rpath /usr/lib", "--as-needed"), which is left out.
struct LinkerWordResult {
    std::vector<std::string> options;
    std::vector<std::string> inputs; // files, in Windows form
    std::vector<std::string> libraries;
    std::vector<LibraryMode> modes;
    std::vector<std::string> dropped;
};

// Reads one linker word. A Microsoft-style option ("/DEF:x.def", "-NODEFAULTLIB") passes as
// written, a GNU option with a Microsoft equivalent is translated ("--out-implib x.lib" gives
// "/IMPLIB:x.lib"), any other GNU option is dropped with its value, and a file name is an input
// in Windows form.
void readLinkerWord(GnuLinkerWords& words, std::string_view word, LinkerWordResult& result);

// Whether the word is one of the GNU linker's long options that readLinkerWord knows
// ("--nxcompat", "--stack", "--stack=N", "--whole-archive"): libtool hands them to the compiler
// without "-Wl," when it takes the compiler for one that links with Microsoft's linker.
bool isLongLinkerOption(std::string_view word);

} // namespace zarn
