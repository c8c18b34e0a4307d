#include "show_includes.h"

#include "host/paths.h"

namespace zarn::toolchain {

namespace {

constexpr std::string_view notePrefix = "Note: including file:";

} // namespace

std::string clIncludeNotes(std::string_view output) {
    std::string out;
    out.reserve(output.size() + output.size() / 8);
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        end = end == std::string_view::npos ? output.size() : end + 1;
        std::string_view line = output.substr(start, end - start);
        start = end;
        if (line.substr(0, notePrefix.size()) != notePrefix) {
            out.append(line);
            continue;
        }
        std::size_t nameStart = line.find_first_not_of(' ', notePrefix.size());
        std::size_t nameEnd = line.size();
        while (nameEnd > 0 && (line[nameEnd - 1] == '\n' || line[nameEnd - 1] == '\r'))
            --nameEnd;
        if (nameStart == std::string_view::npos || nameStart >= nameEnd) {
            out.append(line);
            continue;
        }
        out.append(line.substr(0, nameStart));
        out += toWindowsPath(line.substr(nameStart, nameEnd - nameStart));
        out.append(line.substr(nameEnd));
    }
    return out;
}

} // namespace zarn::toolchain
