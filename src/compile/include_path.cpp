#include "compile/include_path.h"

#include "host/diagnostics.h"
#include "host/environment.h"
#include "host/output.h"

namespace zarn {

std::string composeIncludePath(const std::optional<std::string>& startup,
                               const std::vector<std::string>& dirsAfter) {
    std::string value = startup.value_or(std::string());
    for (const std::string& dir : dirsAfter) {
        if (!value.empty() && value.back() != ';')
            value += ';';
        value += dir;
    }
    return value;
}

void exportIncludeDirsAfter(const std::optional<std::string>& startup,
                            const std::vector<std::string>& dirsAfter) {
    std::string value = composeIncludePath(startup, dirsAfter);
    if (traceEnabled)
        writeOwnOutput("INCLUDE=='" + value + "'\n");
    setEnvironmentValue("INCLUDE", value);
    setEnvironmentValue(includeAfterVariable, composeIncludePath(std::nullopt, dirsAfter));
}

} // namespace zarn
