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
    auto found = [&](const std::string& path) -> const std::string& {
        libraries.push_back(path);
        return libraries.back();
    };
    for (const std::string& name : names) {
        if (fileExists(name))
            return found(name);
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
                return found(candidate);
        }
    }
    return found(names.front());
}

} // namespace zarn
