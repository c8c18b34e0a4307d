#pragma once

#include "tool/tool.h"

#include <optional>
#include <string_view>

namespace zarn {

// Defined in every gcc-mode compile.
inline constexpr std::string_view gccModeMacro = "__ZARN_GCC__";

struct DependencyOptions {
    bool generate = false;        // "-MD"
    bool phonyTargets = false;    // "-MP"
    std::string target;           // "-MT" value, the last one given (gcc mode: every one)
    std::string dependencyFile;   // "-MF" value, the last one given
    bool userHeadersOnly = false; // "-MMD": none of the headers found through INCLUDE
};

// A compile option of gcc mode that a later option of the same family replaces ("-frtti" and
// "-fno-rtti"), as gcc takes the last one given.
struct GccFamilyOption {
    std::string_view family;
    std::string option; // in cl.exe's words
};

// What gcc mode ("--zarngcc") adds to a compile. Without it every field keeps its default and
// the compiler's text is what zarn's own table gives.
struct GccCompileOptions {
    std::string cStandard;                      // "/std:" for a C level of "-std="
    std::string cxxStandard;                    // "/std:" for a C++ level of "-std="
    int warningLevel = 0;                       // "-Wall" 3, "-Wextra" 4: the highest given
    bool noWarnings = false;                    // "-w", whatever else is given
    std::vector<GccFamilyOption> options;       // "-frtti", "-Werror", … the last of each family
    std::string architecture;                   // "/arch:" from "-march=" and "-mavx…"
    bool optimizeForSize = false;               // "-Os", "-Oz": "/O1"
    bool exceptions = true;                     // "-fno-exceptions" clears, "-fexceptions" sets
    bool sharedLibrary = false;                 // "-shared": the compiler links a DLL
    bool noLineMarkers = false;                 // "-P": "/EP" with "-E"
    std::vector<std::string> macros;            // "/D" and "/U" of "-D" and "-U", in order
    std::vector<std::string> quoteIncludeDirs;  // "-iquote" values, in Windows form
    std::vector<std::string> systemIncludeDirs; // "-isystem" values, in Windows form
    std::vector<std::string> includeDirsAfter;  // "-idirafter" values, in Windows form
    std::optional<std::string> startupInclude;  // INCLUDE as found, where they follow it
    std::vector<std::string> forcedIncludes;    // "-include" values, in Windows form
    std::vector<std::string> linkerOptions;     // from "-Wl,", "-Xlinker", ".def" and a few
                                                // gcc options; given after "/link"
    std::string preprocessedFile;               // "-o" with "-E": where the text goes
    bool objectPerSource = false;               // "-c" of several sources without "-o": each
                                                // compiled on its own to gcc's object name
};

class CompilerArgs final : public Tool {
  public:
    std::vector<std::string> cSources;    // ".c" files, as written
    std::vector<std::string> cppSources;  // ".cpp", ".cxx", ".c++" and ".cc" files, as written
    std::vector<std::string> headers;     // ".h" files, as written
    std::vector<std::string> defines;     // text after "-D" or "/D"
    std::vector<std::string> includeDirs; // "-I" values, in Windows form
    bool preprocessOnly = false;          // "E"
    bool compileOnly = false;             // "c"
    int optimizeLevel = -1;               // "-O<digit>" ("-O" alone is 1); negative: none asked
    std::string cpuOption;                // "G3" to "G6", from "-m<processor>"
    DependencyOptions dependencies;       // "-MD", "-MP", "-MT", "-MF"
    bool gccMode = false;                 // "--zarngcc" anywhere on the command line
    GccCompileOptions gcc;                // what gcc mode read

    const char* toolName() const override { return "cl.exe"; }
    std::string buildArguments() const override;
    // The end of the argument text that is the linker's when the compiler links: "/link" and
    // gcc mode's linker options, or nothing.
    std::string linkerSection() const;

    void addCSource(const std::string& file) { cSources.push_back(file); }
    void addCppSource(const std::string& file) { cppSources.push_back(file); }
    void addHeader(const std::string& file) { headers.push_back(file); }
    void addDefine(const std::string& define) { defines.push_back(define); }
    void addIncludeDir(const std::string& dir) { includeDirs.push_back(dir); }
};

} // namespace zarn
