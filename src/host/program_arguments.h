// The program's arguments as zarn reads them: byte strings, UTF-8 on Windows, where they are
// taken from the wide command line so that names outside the active code page arrive whole.
#pragma once

#include <string>
#include <vector>

namespace zarn {

class ProgramArguments {
  public:
    // Also readies the standard streams: on Windows they pass every byte unchanged.
    ProgramArguments(int argc, char** argv);
    int count() const { return static_cast<int>(pointers_.size()) - 1; }
    char* const* vector() const { return pointers_.data(); }

  private:
    std::vector<std::string> words_;
    std::vector<char*> pointers_;
};

} // namespace zarn
