// gcc mode's library look-up, as GNU ld does it for Windows: every "-L" directory applies to
// every "-l", wherever either stands, searched in the order given, then the directories of LIB;
// the working directory only when named.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The names "-lNAME" may go by in a directory, in the order ld tries them there: import
// libraries before archives; with archivesOnly ("-static", "-Wl,-Bstatic") archives alone.
std::vector<std::string> gccLibraryNames(std::string_view name, bool archivesOnly);

// The first directory, in order, that holds one of the names (tried in order in each), joined
// with that name; nothing when none does. Empty directories are passed over.
std::optional<std::string> findInDirectories(const std::vector<std::string>& dirs,
                                             const std::vector<std::string>& names);

// The entries of a search path such as LIB, in order, empty ones left out.
std::vector<std::string> searchPathEntries(std::string_view value);

} // namespace zarn
