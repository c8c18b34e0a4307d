#include "tool/launcher.h"

#include "host/command_line.h"
#include "host/environment.h"
#include "host/paths.h"
#include "host/text.h"

#include <optional>

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

// The argument text as a launcher reads it. A launcher on a POSIX host cannot tell an option
// such as "/Zl" from a file in the root directory: sccache 0.4 takes each option it does not
// know for one more input and then compiles uncached. Written "-Zl", which cl.exe reads the
// same, it is an option to every launcher. Sources stay "/Tc…" and "/Tp…", the one form in
// which sccache 0.4 finds them. Every other word of a compile zarn writes is a value or a file
// in Windows form.
//
// A compile asked for its include notes ("/showIncludes", zarn's own or the build's, as ninja's
// deps = msvc wants) gets a second "-nologo". sccache 0.4 leaves "/showIncludes" out of its key
// and answers a hit with what the kept compile printed, so compiles with and without notes
// would share entries: a hit could come without the notes the dependencies are made from, or
// with notes nobody asked for. The extra word, which changes nothing else, keys them apart.
std::string launcherArguments(std::string_view arguments) {
    std::string text;
    text.reserve(arguments.size() + 8);
    bool includeNotes = false;
    for (std::string& word : splitCommandLine(arguments)) {
        bool source = startsWith(word, "/Tc") || startsWith(word, "/Tp");
        if (!source && startsWith(word, "/"))
            word[0] = '-';
        // A cache opens the source to key the compile: on a POSIX host it can only open it by
        // its POSIX name, which the LLVM adapter passes on as it is.
        if (source && isPosixHost())
            word = word.substr(0, 3) + toPosixPath(std::string_view(word).substr(3));
        includeNotes = includeNotes || word == "-showIncludes";
        appendArgument(text, word);
    }
    if (includeNotes)
        appendArgument(text, "-nologo");
    return text;
}

} // namespace

std::vector<std::string> launcherFor(std::string_view toolName) {
    if (!isLaunched(toolName))
        return {};
    std::optional<std::string> launcher = environmentValue("ZARN_LAUNCHER");
    if (!launcher)
        return {};
    return splitCommandLine(*launcher);
}

std::string toolCommandLine(std::string_view toolName, std::string_view arguments) {
    std::vector<std::string> launcher = launcherFor(toolName);
    if (launcher.empty())
        return std::string(toolName) + std::string(arguments);
    std::string line = quoteArgument(launcher.front());
    for (std::size_t i = 1; i < launcher.size(); ++i)
        appendArgument(line, launcher[i]);
    appendArgument(line, toolName);
    return line + launcherArguments(arguments);
}

int runTool(std::string_view toolName, std::string_view arguments, CapturedOutput& output,
            CapturedOutput& error, StandardOutput standardOutput) {
    std::size_t launcherWords = launcherFor(toolName).size();
    std::string startFailure;
    if (launcherWords > 0)
        startFailure = "the launcher ZARN_LAUNCHER names, ``" +
                       environmentValue("ZARN_LAUNCHER").value_or("") + "''";
    return runExternalProcess(toolCommandLine(toolName, arguments), output, error,
                              launcherWords + 1, standardOutput, startFailure);
}

} // namespace zarn
