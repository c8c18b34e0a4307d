#include "environment_paths.h"

#include "host/environment.h"
#include "host/paths.h"

#include <optional>

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

} // namespace zarn::toolchain
