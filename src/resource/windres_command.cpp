#include "resource/windres_command.h"

#include "host/command_line.h"
#include "host/paths.h"
#include "host/text.h"

#include <optional>

namespace zarn {

namespace {

// A windres option: its short form, its long form, and whether it takes a value.
struct OptionName {
    std::string_view shortName; // "-i"
    std::string_view longName;  // "--input"
    bool takesValue;
};

constexpr OptionName options[] = {
    {"-i", "--input", true},           {"-o", "--output", true},
    {"-I", "--include-dir", true},     {"-D", "--define", true},
    {"-U", "--undefine", true},        {"-J", "--input-format", true},
    {"-O", "--output-format", true},   {"-F", "--target", true},
    {"-l", "--language", true},        {"-c", "--codepage", true},
    {"-v", "--verbose", false},        {"-h", "--help", false},
    {"-V", "--version", false},        {"", "--use-temp-file", false},
    {"", "--no-use-temp-file", false}, {"", "--zarndbg", false},
};

struct ReadOption {
    std::string_view longName;
    std::string value;
};

// The option at arguments[i] with its value, advancing i past a value given separately; nothing
// for an unknown option or a missing value (error says which).
std::optional<ReadOption> readOption(const std::vector<std::string>& arguments, std::size_t& i,
                                     std::string& error) {
    const std::string& argument = arguments[i];
    for (const OptionName& option : options) {
        std::optional<std::string> joined;
        if (argument == option.longName ||
            (!option.shortName.empty() && argument == option.shortName)) {
            if (!option.takesValue)
                return ReadOption{option.longName, ""};
            if (i + 1 >= arguments.size()) {
                error = "option \"" + argument + "\" needs a value";
                return std::nullopt;
            }
            return ReadOption{option.longName, arguments[++i]};
        }
        if (!option.takesValue)
            continue;
        std::string longJoined = std::string(option.longName) + "=";
        if (startsWith(argument, longJoined))
            return ReadOption{option.longName, argument.substr(longJoined.size())};
        if (!option.shortName.empty() && startsWith(argument, option.shortName))
            return ReadOption{option.longName, argument.substr(option.shortName.size())};
    }
    error = "unknown option \"" + argument + "\"";
    return std::nullopt;
}

std::optional<ResourceFormat> formatNamed(const std::string& name) {
    if (name == "rc")
        return ResourceFormat::rc;
    if (name == "res")
        return ResourceFormat::res;
    if (name == "coff")
        return ResourceFormat::coff;
    return std::nullopt;
}

// cvtres.exe's machine for a BFD target name as windres takes it.
std::optional<std::string> machineOfTarget(const std::string& target) {
    if (target == "pe-x86-64" || target == "pe-x86_64" || target == "pe-amd64")
        return "X64";
    if (target == "pe-i386")
        return "X86";
    if (target == "pe-aarch64" || target == "pe-arm64")
        return "ARM64";
    if (target == "pe-arm-little")
        return "ARM";
    return std::nullopt;
}

} // namespace

ResourceFormat formatOfName(const std::string& name) {
    if (endsWith(name, ".rc"))
        return ResourceFormat::rc;
    if (endsWith(name, ".res"))
        return ResourceFormat::res;
    if (endsWith(name, ".o") || endsWith(name, ".obj"))
        return ResourceFormat::coff;
    return ResourceFormat::unknown;
}

WindresCommand windresCommand(const std::vector<std::string>& arguments) {
    WindresCommand command;
    std::string input, output, inputFormatName, outputFormatName, machine = "X64";
    std::vector<std::string> rcOptions;
    auto refuse = [&](std::string error) {
        command.error = std::move(error);
        return command;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.size() < 2 || argument[0] != '-') {
            if (input.empty())
                input = argument;
            else if (output.empty())
                output = argument;
            else
                return refuse("a third file \"" + argument + "\" (one input and one output)");
            continue;
        }
        std::optional<ReadOption> option = readOption(arguments, i, command.error);
        if (!option)
            return command;
        std::string_view name = option->longName;
        const std::string& value = option->value;
        if (name == "--input")
            input = value;
        else if (name == "--output")
            output = value;
        else if (name == "--include-dir")
            rcOptions.push_back("/i" + toWindowsPath(value));
        else if (name == "--define")
            rcOptions.push_back("/d" + value);
        else if (name == "--undefine")
            rcOptions.push_back("/u" + value);
        else if (name == "--language")
            rcOptions.push_back("/l" + value);
        else if (name == "--codepage")
            rcOptions.push_back("/c" + value);
        else if (name == "--input-format")
            inputFormatName = value;
        else if (name == "--output-format")
            outputFormatName = value;
        else if (name == "--target") {
            std::optional<std::string> targetMachine = machineOfTarget(value);
            if (!targetMachine)
                return refuse("unknown target \"" + value + "\" (pe-x86-64, pe-i386, pe-aarch64)");
            machine = *targetMachine;
        } else if (name == "--verbose" || name == "--zarndbg")
            command.trace = true;
        else if (name == "--help")
            command.help = true;
        else if (name == "--version")
            command.version = true;
    }
    if (command.help || command.version)
        return command;
    if (input == "-" || output == "-")
        return refuse("standard input and output are not supported: name the files");
    if (input.empty())
        return refuse("no input file (reading standard input is not supported: name the file)");
    if (output.empty())
        return refuse("no output file (writing standard output is not supported: use -o)");

    ResourceFormat inputFormat = formatOfName(input), outputFormat = formatOfName(output);
    for (const auto& [given, format] :
         {std::pair{&inputFormatName, &inputFormat}, std::pair{&outputFormatName, &outputFormat}}) {
        if (given->empty())
            continue;
        std::optional<ResourceFormat> named = formatNamed(*given);
        if (!named)
            return refuse("unknown format \"" + *given + "\" (rc, res or coff)");
        *format = *named;
    }
    if (inputFormat == ResourceFormat::unknown)
        inputFormat = ResourceFormat::rc;
    if (outputFormat == ResourceFormat::unknown)
        outputFormat = ResourceFormat::coff;
    if (inputFormat == ResourceFormat::coff)
        return refuse("reading a COFF object (\"" + input + "\") is not supported");
    if (outputFormat == ResourceFormat::rc)
        return refuse("writing a resource script (\"" + output + "\") is not supported");
    if (inputFormat == outputFormat)
        return refuse("nothing to convert: \"" + input + "\" and \"" + output +
                      "\" are in the same format");

    command.output = output;
    std::string res = input;
    if (inputFormat == ResourceFormat::rc) {
        res = outputFormat == ResourceFormat::res ? output : output + ".tmp.res";
        if (outputFormat == ResourceFormat::coff)
            command.intermediateFile = res;
        std::string rc = "rc.exe";
        appendArgument(rc, "/nologo");
        for (const std::string& option : rcOptions)
            appendArgument(rc, option);
        appendArgument(rc, "/fo" + toWindowsPath(res));
        appendArgument(rc, toWindowsPath(input));
        command.commandLines.push_back(rc);
    }
    if (outputFormat == ResourceFormat::coff) {
        std::string cvtres = "cvtres.exe";
        appendArgument(cvtres, "/nologo");
        appendArgument(cvtres, "/machine:" + machine);
        appendArgument(cvtres, "/out:" + toWindowsPath(output));
        appendArgument(cvtres, toWindowsPath(res));
        command.commandLines.push_back(cvtres);
    }
    return command;
}

} // namespace zarn
