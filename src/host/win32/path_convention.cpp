#include "host/paths.h"

#include "host/environment.h"

#include <optional>

namespace zarn {

namespace {

PathConvention conventionFromEnvironment() {
    PathConvention convention;
    std::optional<std::string> root = environmentValue("ZARN_POSIX_ROOT");
    if (root && !root->empty()) {
        for (char& c : *root)
            c = c == '/' ? '\\' : c;
        while (root->size() > 2 && root->back() == '\\')
            root->pop_back();
        convention.posixRoot = *root;
    }
    convention.msysDrives = true;
    // MSYS2's shells say so in MSYSTEM; its make reads drives as "/c/…".
    std::optional<std::string> msys = environmentValue("MSYSTEM");
    if (msys && !msys->empty())
        convention.drivePrefix = "/";
    return convention;
}

} // namespace

const PathConvention& hostPathConvention() {
    static const PathConvention convention = conventionFromEnvironment();
    return convention;
}

bool isPosixHost() {
    return false;
}

} // namespace zarn
