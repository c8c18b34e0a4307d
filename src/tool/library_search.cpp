#include "tool/library_search.h"

#include "host/files.h"

namespace zarn {

std::vector<std::string> gccLibraryNames(std::string_view name, bool archivesOnly) {
    std::string n(name);
    if (archivesOnly)
        return {"lib" + n + ".a"};
    // Microsoft's ".lib" names last: in a directory of both kinds, gcc's own names win.
    return {"lib" + n + ".dll.a", n + ".dll.a", "lib" + n + ".a", n + ".lib", "lib" + n + ".lib"};
}

std::optional<std::string> findInDirectories(const std::vector<std::string>& dirs,
                                             const std::vector<std::string>& names) {
    std::string candidate;
    for (const std::string& dir : dirs) {
        if (dir.empty())
            continue;
        for (const std::string& name : names) {
            candidate = dir;
            if (candidate.back() != '/' && candidate.back() != '\\')
                candidate += '\\';
            candidate += name;
            if (fileExists(candidate))
                return candidate;
        }
    }
    return std::nullopt;
}

std::vector<std::string> searchPathEntries(std::string_view value) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = std::min(value.find(';', start), value.size());
        if (end > start)
            entries.emplace_back(value.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

} // namespace zarn
