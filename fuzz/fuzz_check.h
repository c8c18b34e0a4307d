// What the fuzz targets share: the property check and the splitting of an input into pieces.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace zarn::fuzz {

// What a target must undo before a violated property ends the run, if anything.
inline void (*beforeAbort)() = nullptr;

// A violated property: say which on descriptor 2 (whatever became of the stream stderr) and
// stop, so that libFuzzer reports the input as a crash and keeps it.
[[noreturn]] inline void propertyFailed(const char* condition, const char* file, int line) {
    if (beforeAbort != nullptr)
        beforeAbort();
    dprintf(2, "%s:%d: property violated: %s\n", file, line, condition);
    std::abort();
}

#define ZARN_FUZZ_CHECK(condition)                                                                 \
    ((condition) ? static_cast<void>(0)                                                            \
                 : ::zarn::fuzz::propertyFailed(#condition, __FILE__, __LINE__))

inline std::string_view inputText(const unsigned char* data, std::size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// The pieces of the text between the separators: "a|b|" gives "a", "b" and "".
inline std::vector<std::string> splitAt(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    for (;;) {
        std::size_t end = text.find(separator);
        if (end == std::string_view::npos) {
            pieces.emplace_back(text);
            return pieces;
        }
        pieces.emplace_back(text.substr(0, end));
        text.remove_prefix(end + separator.size());
    }
}

} // namespace zarn::fuzz
