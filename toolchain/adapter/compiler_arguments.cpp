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

} // namespace

ClangClCommand clangClCommand(const std::vector<std::string>& clArguments) {
    ClangClCommand command;
    if (clArguments.empty()) {
        command.arguments.push_back("--version");
        return command;
    }
    std::vector<std::string> inputs;
    bool linking = true;
    for (const std::string& argument : clArguments) {
        if (!isOption(argument)) {
            inputs.push_back(toPosixPath(argument));
            continue;
        }
        std::string_view name = optionName(argument);
        if (isProcessorOption(name))
            continue;
        if (stopsBeforeLinking(name))
            linking = false;
        if (name == "E")
            command.preprocessing = true;
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
    if (!inputs.empty()) {
        command.arguments.push_back("--");
        command.arguments.insert(command.arguments.end(), inputs.begin(), inputs.end());
    }
    return command;
}

} // namespace zarn::toolchain
