#include "program_search.h"

#include "host/environment.h"

#include <sys/stat.h>
#include <unistd.h>

namespace zarn::toolchain {

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

} // namespace

std::optional<std::string> findProgram(std::string_view name) {
    std::string path = environmentValue("PATH").value_or("/usr/local/bin:/usr/bin:/bin");
    std::size_t start = 0;
    for (;;) {
        std::size_t end = path.find(':', start);
        std::string directory =
            path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string candidate = (directory.empty() ? std::string(".") : directory) + '/';
        candidate += name;
        if (isExecutableFile(candidate))
            return candidate;
        if (end == std::string::npos)
            return std::nullopt;
        start = end + 1;
    }
}

} // namespace zarn::toolchain
