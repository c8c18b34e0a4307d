#include "tool/tool.h"

#include "host/files.h"
#include "tool/library_path.h"

namespace zarn {

Tool::Tool() {
    captureStartupLibPath();
}

const std::string& Tool::resolveLibrary(const std::string& name) {
    return resolveLibraryAmong({name});
}

const std::string& Tool::resolveLibraryAmong(const std::vector<std::string>& names) {
    libraries.push_back(locateLibrary(names));
    return libraries.back();
}

std::string Tool::locateLibrary(const std::vector<std::string>& names) const {
    for (const std::string& name : names) {
        if (fileExists(name))
            return name;
    }
    for (auto dir = libraryDirs.rbegin(); dir != libraryDirs.rend(); ++dir) {
        // An empty directory would turn the name into a path from the root.
        if (dir->empty())
            continue;
        std::string prefix = *dir;
        if (prefix.back() != '/' && prefix.back() != '\\')
            prefix += '\\';
        for (const std::string& name : names) {
            std::string candidate = prefix + name;
            if (fileExists(candidate))
                return candidate;
        }
    }
    return names.front();
}

} // namespace zarn
