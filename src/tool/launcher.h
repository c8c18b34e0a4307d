// Running a tool, the compiler through the launcher ZARN_LAUNCHER names: a compiler cache such
// as sccache, which is given the compiler's command line ("sccache cl.exe /nologo …").
#pragma once

#include "host/process.h"

#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The words of the launcher that starts the tool, as CMake's launcher lists give them
// ("ccache --opt", "env A=1 sccache"): ZARN_LAUNCHER's value split at blanks and tabs, double
// quotes keeping a word with blanks whole ("\"C:\Program Files\sccache.exe\""); the first word
// is a program found along PATH. None when the tool is not the compiler or the value holds no
// word, so that the linker and the librarian always run themselves.
std::vector<std::string> launcherFor(std::string_view toolName);

// The command line that runs the tool with its argument text (which starts with a blank): the
// tool's name and the text; or, when the tool has a launcher, the launcher's name, the tool's
// and the same arguments with each option but the sources' written "-x" where the text has
// "/x", so that the launcher takes no option for a file, and a second "-nologo" when the
// compile is asked for its include notes, so that a cache keys it apart from one that is not.
std::string toolCommandLine(std::string_view toolName, std::string_view arguments);

// Runs that command line with captured output (runExternalProcess) and returns the tool's
// status. A launcher that cannot be started is reported in zarn's own words, naming
// ZARN_LAUNCHER and its value; a tool without one as the runner reports it.
int runTool(std::string_view toolName, std::string_view arguments, CapturedOutput& output,
            CapturedOutput& error, StandardOutput standardOutput = StandardOutput::pipe);

} // namespace zarn
