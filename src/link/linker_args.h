#pragma once

#include "tool/tool.h"

namespace zarn {

class LinkerArgs final : public Tool {
  public:
    bool dll = false;                   // "dll", any case
    bool incremental = false;           // the last "INCREMENTAL:" option ends in "YES"
    bool release = false;               // "RELEASE"
    bool buildLibrary = false;          // "lib", any case: run the librarian
    std::vector<std::string> listFiles; // ".lst" files, in Windows form

    const char* toolName() const override { return buildLibrary ? "lib.exe" : "link.exe"; }
    std::string buildArguments() const override;

    void addListFile(const std::string& file) { listFiles.push_back(file); }
};

} // namespace zarn
