#include "compile/include_notes.h"

#include <algorithm>
#include <cstring>

namespace zarn {

std::string_view includeNoteOptions(bool launched) {
    return launched ? " /showIncludes /nologo" : " /showIncludes";
}

std::size_t takeIncludeNotes(char* text, std::size_t size, std::string_view prefix,
                             std::vector<std::string>& names) {
    std::string_view all(text, size);
    std::size_t kept = 0;
    std::size_t start = 0;
    while (start < size) {
        std::size_t end = all.find('\n', start);
        end = end == std::string_view::npos ? size : end + 1;
        std::string_view line = all.substr(start, end - start);
        if (line.substr(0, prefix.size()) != prefix) {
            // Earlier notes have made room: the line moves up over them.
            if (kept != start)
                std::memmove(text + kept, line.data(), line.size());
            kept += line.size();
            start = end;
            continue;
        }
        std::string_view name = line.substr(prefix.size());
        name.remove_prefix(std::min(name.find_first_not_of(' '), name.size()));
        if (!name.empty() && name.back() == '\n')
            name.remove_suffix(1);
        if (!name.empty() && name.back() == '\r')
            name.remove_suffix(1);
        if (!name.empty())
            names.emplace_back(name);
        start = end;
    }
    return kept;
}

} // namespace zarn
