#include "host/paths.h"

namespace zarn {

// Windows programs on a POSIX host run under Wine, which shows the POSIX root as drive Z:.
const PathConvention& hostPathConvention() {
    static const PathConvention convention;
    return convention;
}

bool isPosixHost() {
    return true;
}

} // namespace zarn
