#include "tool_options.h"

#include "host/paths.h"
#include "host/text.h"

namespace zarn::toolchain {

namespace {

bool hasPrefix(std::string_view text, std::string_view prefix, bool ignoreCase) {
    return text.size() >= prefix.size() &&
           textEquals(text.substr(0, prefix.size()), prefix, ignoreCase);
}

} // namespace

bool isOption(std::string_view argument) {
    return !argument.empty() && (argument[0] == '/' || argument[0] == '-');
}

std::string_view optionName(std::string_view option) {
    return isOption(option) ? option.substr(1) : option;
}

std::optional<std::string> withPosixValue(std::string_view option,
                                          std::initializer_list<std::string_view> prefixes,
                                          bool ignoreCase) {
    std::string_view name = optionName(option);
    for (std::string_view prefix : prefixes) {
        if (!hasPrefix(name, prefix, ignoreCase))
            continue;
        std::size_t valueStart = option.size() - name.size() + prefix.size();
        return std::string(option.substr(0, valueStart)) + toPosixPath(option.substr(valueStart));
    }
    return std::nullopt;
}

bool linkerOptionIs(std::string_view option, std::initializer_list<std::string_view> names) {
    std::string_view name = optionName(option);
    for (std::string_view candidate : names) {
        bool matches = candidate.back() == ':' ? hasPrefix(name, candidate, true)
                                               : textEquals(name, candidate, true);
        if (matches)
            return true;
    }
    return false;
}

bool isRuntimeLibraryOption(std::string_view option) {
    std::string_view name = optionName(option);
    for (std::string_view runtime : {"MD", "MT", "ML", "MDd", "MTd", "MLd"}) {
        if (name == runtime)
            return true;
    }
    return false;
}

} // namespace zarn::toolchain
