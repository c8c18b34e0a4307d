#include "compile/include_notes.h"

#include "host/diagnostics.h"
#include "host/output.h"
#include "host/paths.h"

#include <algorithm>
#include <cstring>

namespace zarn {

namespace {

void traceNote(std::string& trace, std::string_view written, const std::string& read) {
    trace += "Include note: ``";
    trace.append(written);
    if (read != written) {
        trace += "'' read as ``";
        trace += read;
    }
    trace += "''\n";
}

// The length of the note's prefix the line starts with; 0 when it is no note.
std::size_t notePrefixLength(std::string_view line, std::string_view prefix) {
    for (std::string_view known : {prefix, defaultIncludeNotePrefix}) {
        if (!known.empty() && line.substr(0, known.size()) == known)
            return known.size();
    }
    return 0;
}

} // namespace

std::size_t takeIncludeNotes(char* text, std::size_t size, std::string_view prefix,
                             std::vector<std::string>& names) {
    std::string_view all(text, size);
    std::string trace;
    std::size_t kept = 0;
    std::size_t start = 0;
    while (start < size) {
        std::size_t end = all.find('\n', start);
        end = end == std::string_view::npos ? size : end + 1;
        std::string_view line = all.substr(start, end - start);
        std::size_t prefixLength = notePrefixLength(line, prefix);
        if (prefixLength == 0) {
            // Earlier notes have made room: the line moves up over them.
            if (kept != start)
                std::memmove(text + kept, line.data(), line.size());
            kept += line.size();
            start = end;
            continue;
        }
        std::string_view name = line.substr(prefixLength);
        name.remove_prefix(std::min(name.find_first_not_of(' '), name.size()));
        if (!name.empty() && name.back() == '\n')
            name.remove_suffix(1);
        if (!name.empty() && name.back() == '\r')
            name.remove_suffix(1);
        if (!name.empty()) {
            // Names as cl.exe writes them, which the dependency file's rules expect; a Windows
            // name keeps its text, its separators all written '\'.
            names.push_back(toWindowsPath(name));
            if (traceEnabled)
                traceNote(trace, name, names.back());
        }
        start = end;
    }
    if (!trace.empty())
        writeOwnOutput(trace);
    return kept;
}

} // namespace zarn
