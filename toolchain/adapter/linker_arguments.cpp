#include "linker_arguments.h"

#include "host/paths.h"
#include "tool_options.h"

#include <optional>

namespace zarn::toolchain {

namespace {

// The argument with its file name, if it carries one, in POSIX form.
std::string withPosixFileName(const std::string& argument) {
    if (!isOption(argument))
        return toPosixPath(argument);
    std::optional<std::string> withPath =
        withPosixValue(argument, {"OUT:", "PDB:", "LIBPATH:", "DEF:", "IMPLIB:", "MAP:"}, true);
    return withPath ? *withPath : argument;
}

} // namespace

std::vector<std::string> lldLinkArguments(const std::vector<std::string>& linkArguments) {
    std::vector<std::string> arguments;
    for (const std::string& argument : linkArguments) {
        if (isOption(argument)) {
            if (linkerOptionIs(argument, {"RELEASE"}) || isRuntimeLibraryOption(argument))
                continue;
            if (linkerOptionIs(argument, {"INCREMENTAL:YES"})) {
                arguments.push_back(argument.substr(0, argument.find(':')));
                continue;
            }
        }
        arguments.push_back(withPosixFileName(argument));
    }
    return arguments;
}

std::vector<std::string> llvmLibArguments(const std::vector<std::string>& libArguments) {
    std::vector<std::string> arguments;
    for (const std::string& argument : libArguments) {
        if (isOption(argument) &&
            (linkerOptionIs(argument, {"DEBUG", "DEBUG:", "RELEASE", "PDB:", "DLL", "INCREMENTAL",
                                       "INCREMENTAL:"}) ||
             isRuntimeLibraryOption(argument)))
            continue;
        arguments.push_back(withPosixFileName(argument));
    }
    return arguments;
}

} // namespace zarn::toolchain
