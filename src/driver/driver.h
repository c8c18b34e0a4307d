// zarn's whole run: classify the command line, run the tool, pass on its output and status.
#pragma once

namespace zarn {

// Returns the exit status of the program.
int runZarn(int argc, char* const* argv);

} // namespace zarn
