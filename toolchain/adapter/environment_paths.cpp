#include "environment_paths.h"

#include "host/environment.h"
#include "host/paths.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <unistd.h>

namespace zarn::toolchain {

std::string posixSearchPath(std::string_view windowsList) {
    std::string converted;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = windowsList.find(';', start);
        std::string_view entry = windowsList.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        converted += toPosixPath(entry);
        if (end == std::string_view::npos)
            return converted;
        converted += ';';
        start = end + 1;
    }
}

void convertSearchPathVariables() {
    for (const char* name : {"LIB", "INCLUDE"}) {
        if (std::optional<std::string> value = environmentValue(name))
            setEnvironmentValue(name, posixSearchPath(*value));
    }
}

std::optional<std::string> workingDirectory() {
    // getcwd sizes the buffer itself: no length limit.
    std::unique_ptr<char, decltype(&std::free)> directory(getcwd(nullptr, 0), &std::free);
    if (!directory)
        return std::nullopt;
    return std::string(directory.get());
}

} // namespace zarn::toolchain
