// The command line of zarn-windres, a front end with the options of GNU windres, as the runs of
// the Microsoft resource tools that do its work: rc.exe compiles a resource script (.rc) into a
// .res file, preprocessing it as the C compiler does; cvtres.exe turns a .res file into a COFF
// object that the linker takes.
#pragma once

#include <string>
#include <vector>

namespace zarn {

enum class ResourceFormat { unknown, rc, res, coff };

struct WindresCommand {
    std::vector<std::string> commandLines; // each tool's command line, in the order they run
    std::string intermediateFile; // the .res file between rc.exe and cvtres.exe; removed after
    std::string output;           // the file the last tool writes
    std::string error;            // why the command line is refused; empty if it is not
    bool trace = false;           // "-v", "--verbose" or "--zarndbg": show each command line
    bool help = false;            // "-h", "--help"
    bool version = false;         // "-V", "--version"
};

// The format a file name's ending tells: ".rc", ".res", ".o" or ".obj"; unknown otherwise.
ResourceFormat formatOfName(const std::string& name);

// Reads windres's options: "-i"/"--input", "-o"/"--output" (or the first and second file
// named), "-I"/"--include-dir", "-D"/"--define", "-U"/"--undefine", "-J"/"--input-format" and
// "-O"/"--output-format" (rc, res, coff; otherwise by the files' endings, coff by default),
// "-F"/"--target" (pe-x86-64, pe-i386, pe-aarch64…), "-l"/"--language", "-c"/"--codepage",
// "--use-temp-file", "--no-use-temp-file" (which change nothing here). Values may be joined
// ("-Idir", "--include-dir=dir") or the next argument. Files in the tools' command lines are in
// Windows form.
WindresCommand windresCommand(const std::vector<std::string>& arguments);

} // namespace zarn
