#include "compiler_arguments.h"

#include "host/paths.h"
#include "tool_options.h"

#include <optional>

namespace zarn::toolchain {

namespace {

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
    bool cxxInput = false, allC = false;
    for (const std::string& argument : clArguments) {
        if (!isOption(argument)) {
            inputs.push_back(toPosixPath(argument));
            cxxInput = cxxInput || hasCxxEnding(argument);
            continue;
        }
        std::string_view name = optionName(argument);
        if (name == "TP" || (name.size() > 2 && name.substr(0, 2) == "Tp"))
            command.cxx = true;
        if (name == "TC")
            allC = true;
        if (isProcessorOption(name))
            continue;
        if (stopsBeforeLinking(name))
            linking = false;
        if (name == "E")
            command.preprocessing = true;
        if (name == "showIncludes")
            command.includeNotes = true;
        if (std::optional<std::string> successor = runtimeSuccessor(name)) {
            command.arguments.push_back(*successor);
            continue;
        }
        std::optional<std::string> withPath =
            withPosixValue(argument, {"Fo", "Fe", "Fd", "Tc", "Tp", "I"}, false);
        command.arguments.push_back(withPath ? *withPath : argument);
    }
    if (command.preprocessing)
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

} // namespace zarn::toolchain
