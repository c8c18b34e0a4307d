#include "tool/launcher.h"

#include "host/command_line.h"
#include "host/environment.h"

namespace zarn {

namespace {

// The tools a launcher starts: compilers, whose runs a cache can answer. Linking and archiving
// a cache does not keep.
constexpr std::string_view launchedTools[] = {"cl.exe"};

bool isLaunched(std::string_view toolName) {
    for (std::string_view tool : launchedTools) {
        if (toolName == tool)
            return true;
    }
    return false;
}

} // namespace

std::optional<std::string> launcherFor(std::string_view toolName) {
    if (!isLaunched(toolName))
        return std::nullopt;
    std::optional<std::string> launcher = environmentValue("ZARN_LAUNCHER");
    if (!launcher || launcher->empty())
        return std::nullopt;
    return launcher;
}

std::string toolCommandLine(std::string_view toolName, std::string_view arguments) {
    std::string commandLine;
    if (std::optional<std::string> launcher = launcherFor(toolName)) {
        // A name with a blank stays one word, as in "C:\Program Files\sccache\sccache.exe".
        commandLine = quoteArgument(*launcher);
        commandLine += ' ';
    }
    commandLine += toolName;
    commandLine += arguments;
    return commandLine;
}

int runTool(std::string_view toolName, std::string_view arguments, CapturedOutput& output,
            CapturedOutput& error) {
    std::size_t programWords = launcherFor(toolName) ? 2 : 1;
    return runExternalProcess(toolCommandLine(toolName, arguments), output, error, programWords);
}

} // namespace zarn
