// The headers "-MMD" leaves out of a rule: those a compile finds in the directories of INCLUDE
// and of "-isystem", which belong to the system rather than to the project.
#pragma once

#include "compile/compiler_args.h"

#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The system's header directories for the compile, in POSIX form, without a trailing slash.
std::vector<std::string> systemHeaderDirectories(const CompilerArgs& compiler);

// Whether the file (in either form) lies in one of the directories, letter case aside, as
// Windows names it.
bool isInDirectories(std::string_view file, const std::vector<std::string>& directories);

// The names without those that lie in the directories; the rest keep their order.
template <typename Name>
std::vector<Name> withoutSystemHeaders(const std::vector<Name>& names,
                                       const std::vector<std::string>& directories) {
    std::vector<Name> kept;
    kept.reserve(names.size());
    for (const Name& name : names) {
        if (!isInDirectories(name, directories))
            kept.push_back(name);
    }
    return kept;
}

} // namespace zarn
