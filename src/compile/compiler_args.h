#pragma once

#include "tool/tool.h"

namespace zarn {

struct DependencyOptions {
    bool generate = false;      // "-MD"
    bool phonyTargets = false;  // "-MP"
    std::string target;         // "-MT" value, the last one given
    std::string dependencyFile; // "-MF" value, the last one given
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

    const char* toolName() const override { return "cl.exe"; }
    std::string buildArguments() const override;

    void addCSource(const std::string& file) { cSources.push_back(file); }
    void addCppSource(const std::string& file) { cppSources.push_back(file); }
    void addHeader(const std::string& file) { headers.push_back(file); }
    void addDefine(const std::string& define) { defines.push_back(define); }
    void addIncludeDir(const std::string& dir) { includeDirs.push_back(dir); }
};

} // namespace zarn
