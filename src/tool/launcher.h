// Running a tool, the compiler through the launcher ZARN_LAUNCHER names: a compiler cache such
// as sccache, which is given the compiler's command line ("sccache cl.exe /nologo …").
#pragma once

#include "host/process.h"

#include <optional>
#include <string>
#include <string_view>

namespace zarn {

// The launcher that starts the tool: ZARN_LAUNCHER's value, a program name found along PATH,
// when the tool is the compiler and the value is not empty; nothing otherwise, so that the
// linker and the librarian always run themselves.
std::optional<std::string> launcherFor(std::string_view toolName);

// The command line that runs the tool with its argument text (which starts with a blank): the
// tool's name and the text; or, when the tool has a launcher, the launcher's name, the tool's
// and the same arguments with each option but the sources' written "-x" where the text has
// "/x", so that the launcher takes no option for a file, and a second "-nologo" when the
// compile is asked for its include notes, so that a cache keys it apart from one that is not.
std::string toolCommandLine(std::string_view toolName, std::string_view arguments);

// Runs that command line with captured output (runExternalProcess) and returns the tool's
// status. A launcher that cannot be found is the runner's fatal report, naming the whole line.
int runTool(std::string_view toolName, std::string_view arguments, CapturedOutput& output,
            CapturedOutput& error, StandardOutput standardOutput = StandardOutput::pipe);

} // namespace zarn
