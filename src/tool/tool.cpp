#include "tool/tool.h"

#include "host/files.h"
#include "tool/library_path.h"

namespace zarn {

Tool::Tool() {
    captureStartupLibPath();
}

const std::string& Tool::resolveLibrary(const std::string& name) {
    if (fileExists(name)) {
        libraries.push_back(name);
        return libraries.back();
    }
    for (auto dir = libraryDirs.rbegin(); dir != libraryDirs.rend(); ++dir) {
        // An empty directory would turn the name into a path from the root.
        if (dir->empty())
            continue;
        std::string candidate = *dir;
        if (candidate.back() != '/' && candidate.back() != '\\')
            candidate += '\\';
        candidate += name;
        if (fileExists(candidate)) {
            libraries.push_back(candidate);
            return libraries.back();
        }
    }
    libraries.push_back(name);
    return libraries.back();
}

} // namespace zarn
