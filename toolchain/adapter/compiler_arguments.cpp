#include "compiler_arguments.h"

#include "host/paths.h"
#include "host/text.h"
#include "linker_arguments.h"
#include "tool_options.h"

#include <optional>
#include <sys/stat.h>

namespace zarn::toolchain {

namespace {

// What zarn's gcc mode defines in every compile, so that headers can tell it.
constexpr std::string_view gccModeDefine = "D__ZARN_GCC__";

// The processor tuning options of old compilers: current ones choose for themselves.
bool isProcessorOption(std::string_view name) {
    return name == "G3" || name == "G4" || name == "G5" || name == "G6";
}

// The single-threaded runtime is gone; its multi-threaded static successor takes its place.
std::optional<std::string> runtimeSuccessor(std::string_view name) {
    if (name == "ML")
        return "/MT";
    if (name == "MLd")
        return "/MTd";
    return std::nullopt;
}

// Options whose value may also be the next argument, as cl.exe takes them: "/I dir".
bool takesSeparateValue(std::string_view name) {
    return name == "I" || name == "D" || name == "U" || name == "FI" || name == "Tc" ||
           name == "Tp" || name == "external:I";
}

// A source that is already preprocessed, as gcc names it ("x.i" for C, "x.ii" for C++). Given
// as an input of its own, clang-cl compiles it as it is, where "/Tc" would preprocess it again.
bool isPreprocessedSource(std::string_view option, std::string_view file) {
    return (option == "Tc" && endsWith(file, ".i")) || (option == "Tp" && endsWith(file, ".ii"));
}

bool isRegularFile(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// What cl.exe answers without any source: its help.
bool asksForHelp(std::string_view name) {
    return name == "?" || name == "help" || name == "HELP" || name == "-help";
}

// cl.exe 17.2 and later define __STDC__ for the C standards; clang-cl leaves it out.
bool isStrictCStandard(std::string_view name) {
    return name == "std:c11" || name == "std:c17";
}

// Options after which the compiler produces no program.
bool stopsBeforeLinking(std::string_view name) {
    return name == "c" || name == "E" || name == "EP" || name == "P" || name == "Zs";
}

// The endings clang-cl compiles as C++ unless "/TC" says C.
bool hasCxxEnding(std::string_view input) {
    std::string_view::size_type dot = input.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    std::string_view ending = input.substr(dot + 1);
    return ending == "cpp" || ending == "cxx" || ending == "cc" || ending == "c++" ||
           ending == "cp" || ending == "C";
}

} // namespace

ClangClCommand clangClCommand(const std::vector<std::string>& clArguments) {
    ClangClCommand command;
    if (clArguments.empty()) {
        command.arguments.push_back("--version");
        return command;
    }
    std::vector<std::string> inputs;
    bool linking = true;
    bool namesSource = false;
    bool preprocessedSource = false, otherInput = false;
    bool helpAsked = false;
    bool cxxInput = false, allC = false;
    for (std::size_t i = 0; i < clArguments.size(); ++i) {
        const std::string& argument = clArguments[i];
        if (!isOption(argument)) {
            inputs.push_back(toPosixPath(argument));
            otherInput = true;
            cxxInput = cxxInput || hasCxxEnding(argument);
            continue;
        }
        std::string_view name = optionName(argument);
        // Everything after "/link" is the linker's; clang-cl hands it on from before the
        // inputs, which have to come last.
        if (name == "link") {
            std::vector<std::string> linkArguments(clArguments.begin() + i + 1, clArguments.end());
            for (const std::string& linkArgument : lldLinkArguments(linkArguments)) {
                command.arguments.push_back("/clang:-Xlinker");
                command.arguments.push_back("/clang:" + linkArgument);
            }
            break;
        }
        if (name == "TP" || (name.size() > 2 && name.substr(0, 2) == "Tp"))
            command.cxx = true;
        if (name == "TC")
            allC = true;
        if (isProcessorOption(name))
            continue;
        command.gccMode = command.gccMode || name == gccModeDefine ||
                          startsWith(name, std::string(gccModeDefine) + "=");
        if (stopsBeforeLinking(name))
            linking = false;
        if (name == "E")
            command.preprocessing = true;
        helpAsked = helpAsked || asksForHelp(name);
        if (std::optional<std::string> successor = runtimeSuccessor(name)) {
            command.arguments.push_back(*successor);
            continue;
        }
        std::string_view sourceOption = name.substr(0, 2);
        if ((sourceOption == "Tc" || sourceOption == "Tp") && name.size() > 2 &&
            isPreprocessedSource(sourceOption, name.substr(2))) {
            inputs.push_back(toPosixPath(name.substr(2)));
            cxxInput = cxxInput || sourceOption == "Tp";
            preprocessedSource = true;
            continue;
        }
        if ((name == "Tc" || name == "Tp") && i + 1 < clArguments.size() &&
            isPreprocessedSource(name, clArguments[i + 1])) {
            inputs.push_back(toPosixPath(clArguments[++i]));
            cxxInput = cxxInput || name == "Tp";
            preprocessedSource = true;
            continue;
        }
        if (takesSeparateValue(name) && i + 1 < clArguments.size()) {
            bool isPath = name != "D" && name != "U";
            command.arguments.push_back(argument);
            command.arguments.push_back(isPath ? toPosixPath(clArguments[++i]) : clArguments[++i]);
            namesSource = namesSource || name == "Tc" || name == "Tp";
            command.cxx = command.cxx || name == "Tp";
            continue;
        }
        namesSource = namesSource || startsWith(name, "Tc") || startsWith(name, "Tp");
        // clang-cl takes an absolute POSIX name that is no option of its own for a file, as
        // compiler caches pass their probes ("/tmp/…/test.c").
        if (argument[0] == '/' && isRegularFile(argument)) {
            namesSource = true;
            cxxInput = cxxInput || hasCxxEnding(argument);
        }
        std::optional<std::string> withPath = withPosixValue(
            argument, {"Fo", "Fe", "Fd", "Tc", "Tp", "I", "FI", "external:I"}, false);
        command.arguments.push_back(withPath ? *withPath : argument);
        if (isStrictCStandard(name))
            command.arguments.push_back("/D__STDC__=1");
    }
    command.missingSource = inputs.empty() && !namesSource && !helpAsked;
    command.preprocessedOnly = preprocessedSource && !namesSource && !otherInput;
    // gcc mode's text keeps clang's own line markers (see gnuLineMarkers).
    if (command.preprocessing && !command.gccMode)
        command.arguments.push_back("/clang:-fuse-line-directives");
    if (linking)
        command.arguments.push_back("-fuse-ld=lld");
    command.linking = linking;
    command.cxx = command.cxx || (cxxInput && !allC);
    if (!inputs.empty()) {
        command.arguments.push_back("--");
        command.arguments.insert(command.arguments.end(), inputs.begin(), inputs.end());
    }
    return command;
}

void askForUserHeaderNotes(std::vector<std::string>& arguments) {
    for (std::string& argument : arguments) {
        if (isOption(argument) && optionName(argument) == "showIncludes")
            argument += ":user";
    }
}

std::vector<std::string> clangClFidelityOptions() {
    return {"/clang:-Werror=implicit-function-declaration"};
}

} // namespace zarn::toolchain
