#include "compile/system_headers.h"

#include "host/environment.h"
#include "host/paths.h"
#include "host/text.h"

#include <algorithm>
#include <optional>

namespace zarn {

namespace {

void addDirectory(std::vector<std::string>& directories, std::string_view directory) {
    std::string posix = toPosixPath(directory);
    while (posix.size() > 1 && posix.back() == '/')
        posix.pop_back();
    if (!posix.empty())
        directories.push_back(posix);
}

} // namespace

std::vector<std::string> systemHeaderDirectories(const CompilerArgs& compiler) {
    std::vector<std::string> directories;
    std::string include = environmentValue("INCLUDE").value_or("");
    std::size_t start = 0;
    while (start <= include.size()) {
        std::size_t end = std::min(include.find(';', start), include.size());
        addDirectory(directories, std::string_view(include).substr(start, end - start));
        start = end + 1;
    }
    for (const std::string& directory : compiler.gcc.systemIncludeDirs)
        addDirectory(directories, directory);
    return directories;
}

bool isInDirectories(std::string_view file, const std::vector<std::string>& directories) {
    if (directories.empty())
        return false;
    std::string posix = toPosixPath(file);
    for (const std::string& directory : directories) {
        bool root = directory == "/";
        if (posix.size() > directory.size() &&
            textEquals(std::string_view(posix).substr(0, directory.size()), directory, true) &&
            (root || posix[directory.size()] == '/'))
            return true;
    }
    return false;
}

} // namespace zarn
