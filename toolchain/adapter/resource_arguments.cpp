#include "resource_arguments.h"

#include "host/paths.h"
#include "host/text.h"
#include "tool_options.h"

namespace zarn::toolchain {

namespace {

// rc.exe's options ignore case; those that take a value take it joined or as the next argument.
bool takesValue(std::string_view name) {
    return textEquals(name, "fo", true) || textEquals(name, "i", true) ||
           textEquals(name, "d", true) || textEquals(name, "u", true) ||
           textEquals(name, "l", true) || textEquals(name, "c", true) ||
           textEquals(name, "ln", true);
}

// The option's name and value, joined ("/foa.res", "/dX=1") or as the next argument.
struct RcOption {
    std::string name;
    std::string value;
};

RcOption splitOption(std::string_view name) {
    for (std::string_view known : {"fo", "ln", "i", "d", "u", "l", "c"}) {
        if (name.size() > known.size() && textEquals(name.substr(0, known.size()), known, true))
            return {std::string(known), std::string(name.substr(known.size()))};
    }
    return {std::string(name), std::string()};
}

} // namespace

RcCommand rcCommand(const std::vector<std::string>& rcArguments,
                    const std::string& preprocessedFile) {
    RcCommand command;
    std::vector<std::string> includeDirs, compilerOptions, rcOptions;
    std::string input, output;
    for (std::size_t i = 0; i < rcArguments.size(); ++i) {
        const std::string& argument = rcArguments[i];
        if (!isOption(argument)) {
            if (!input.empty()) {
                command.error =
                    "more than one resource script (\"" + input + "\", \"" + argument + "\")";
                return command;
            }
            input = toPosixPath(argument);
            continue;
        }
        std::string_view name = optionName(argument);
        RcOption option{std::string(name), std::string()};
        if (takesValue(name)) {
            if (i + 1 >= rcArguments.size()) {
                command.error = "option \"" + argument + "\" needs a value";
                return command;
            }
            option.value = rcArguments[++i];
        } else {
            option = splitOption(name);
        }
        std::string lower = option.name;
        for (char& c : lower)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        if (lower == "fo") {
            output = toPosixPath(option.value);
        } else if (lower == "i") {
            includeDirs.push_back(toPosixPath(option.value));
        } else if (lower == "d" || lower == "u") {
            compilerOptions.push_back((lower == "d" ? "/D" : "/U") + option.value);
        } else if (lower == "x") {
            compilerOptions.push_back("/X");
            rcOptions.push_back("/x");
        } else if (lower == "r" || lower == "nologo") {
            // A .res file is what rc.exe writes anyway, and llvm-rc shows no banner.
        } else {
            rcOptions.push_back("/" + option.name);
            if (!option.value.empty())
                rcOptions.push_back(option.value);
        }
    }
    if (input.empty()) {
        command.error = "no resource script named";
        return command;
    }
    if (output.empty()) {
        // rc.exe writes the script's name with ".res".
        std::size_t dot = input.rfind('.');
        std::size_t slash = input.rfind('/');
        bool hasEnding = dot != std::string::npos && (slash == std::string::npos || dot > slash);
        output = (hasEnding ? input.substr(0, dot) : input) + ".res";
    }
    std::string scriptDir = directoryPart(input);
    if (scriptDir.empty())
        scriptDir = input[0] == '/' ? "/" : ".";

    command.preprocessing = {"/nologo", "/P", "/Fi" + preprocessedFile, "/DRC_INVOKED"};
    command.preprocessing.insert(command.preprocessing.end(), compilerOptions.begin(),
                                 compilerOptions.end());
    for (const std::string& dir : includeDirs)
        command.preprocessing.push_back("/I" + dir);
    command.preprocessing.push_back("/Tc" + input);

    command.compiling = {"/no-preprocess", "/fo", output};
    command.compiling.insert(command.compiling.end(), rcOptions.begin(), rcOptions.end());
    command.compiling.insert(command.compiling.end(), {"/i", scriptDir});
    for (const std::string& dir : includeDirs)
        command.compiling.insert(command.compiling.end(), {"/i", dir});
    command.compiling.push_back(preprocessedFile);
    return command;
}

std::vector<std::string> cvtresArguments(const std::vector<std::string>& cvtresArguments) {
    std::vector<std::string> arguments;
    for (const std::string& argument : cvtresArguments) {
        if (!isOption(argument)) {
            arguments.push_back(toPosixPath(argument));
            continue;
        }
        std::optional<std::string> withPath = withPosixValue(argument, {"OUT:"}, true);
        arguments.push_back(withPath ? *withPath : argument);
    }
    return arguments;
}

} // namespace zarn::toolchain
