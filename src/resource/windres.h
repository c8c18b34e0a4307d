// zarn-windres's whole run: read the command line, run rc.exe and cvtres.exe as it asks, pass on
// their output, and exit with the status of the first that fails.
#pragma once

namespace zarn {

int runWindres(int argc, char* const* argv);

} // namespace zarn
