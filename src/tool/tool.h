// The argument records: what a command line asks of the compiler and of the linker. The
// classification fills one record of each kind; the record that is current when it ends says
// which tool runs and with which arguments.
#pragma once

#include <string>
#include <vector>

namespace zarn {

class Tool {
  public:
    bool debugInfo = false;                // "-g" (both records), "DEBUG" (linker)
    std::string outputFile;                // "-o" value, or an option starting "OUT:" (linker)
    std::string pdbFile;                   // option starting "Fd" (compiler) or "PDB:" (linker)
    std::vector<std::string> libraryDirs;  // "-L" values, in Windows form
    std::vector<std::string> libraries;    // ".lib" files and "-l" names, as resolved
    std::vector<std::string> objectFiles;  // ".obj" and ".o" files, in Windows form
    std::vector<std::string> extraOptions; // unrecognised "/" arguments, passed on unchanged
    std::string runtimeLibrary;            // "/MD", "/ML", "/MT", "/MDd", "/MLd" or "/MTd"

    virtual const char* toolName() const = 0;
    // The tool's argument text: empty, or pieces each starting with a blank. Also exports LIB.
    virtual std::string buildArguments() const = 0;

    void addObjectFile(const std::string& file) { objectFiles.push_back(file); }
    void addLibraryDir(const std::string& dir) { libraryDirs.push_back(dir); }
    void addLibrary(const std::string& path) { libraries.push_back(path); }

    // Appends the path under which the library is found, and returns it: the name itself when
    // it exists, else the first library directory holding it, the last given searched first,
    // else the name.
    const std::string& resolveLibrary(const std::string& name);
    // The same for a library that may go by several names: at each place the names are tried
    // in their order; found nowhere, the first name is appended.
    const std::string& resolveLibraryAmong(const std::vector<std::string>& names);
    // Where resolveLibraryAmong finds the library, without appending it.
    std::string locateLibrary(const std::vector<std::string>& names) const;

    // The runtime option, objects, libraries and extra options; sets LIB for the next tool.
    std::string commonArguments() const;

  protected:
    // Captures the start-up value of LIB.
    Tool();
    // Records are never destroyed through a Tool.
    ~Tool() = default;
    Tool(const Tool&) = default;
    Tool& operator=(const Tool&) = default;
};

} // namespace zarn
