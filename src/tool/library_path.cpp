#include "tool/library_path.h"

#include "host/command_line.h"
#include "host/diagnostics.h"
#include "host/environment.h"
#include "host/output.h"
#include "tool/tool.h"

namespace zarn {

std::optional<std::string> savedLibPath;

void captureStartupLibPath() {
    std::optional<std::string> value = environmentValue("LIB");
    if (value && !value->empty())
        savedLibPath = std::move(value);
}

std::string composeLibPath(const std::optional<std::string>& startup,
                           const std::vector<std::string>& libraryDirs) {
    std::string value = startup.value_or(std::string());
    for (const std::string& dir : libraryDirs) {
        if (!value.empty())
            value += ';';
        value += dir;
    }
    return value;
}

std::string Tool::commonArguments() const {
    std::string text;
    if (!runtimeLibrary.empty())
        appendArgument(text, runtimeLibrary);
    for (const std::string& object : objectFiles)
        appendArgument(text, object);
    for (const std::string& library : libraries)
        appendArgument(text, library);

    std::string libPath = composeLibPath(savedLibPath, libraryDirs);
    if (traceEnabled) {
        writeOwnOutput("LIB=='" + libPath + "'\n");
    }
    setEnvironmentValue("LIB", libPath);

    for (const std::string& option : extraOptions)
        appendArgument(text, option);
    return text;
}

} // namespace zarn
