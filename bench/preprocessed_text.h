// A synthetic preprocessed compiler output for the dependency-scan benchmarks: lines of code
// with "#line" directives spread evenly through it, naming a fixed set of headers.
#pragma once

#include <cstddef>
#include <string>

namespace zarn::bench {

inline std::string preprocessedText(std::size_t bytes, std::size_t directives,
                                    std::size_t distinctFiles) {
    std::string text;
    text.reserve(bytes + 256);
    const std::string code =
        "    static inline int function_name(struct some_type *p) { return p->x; }\r\n";
    std::size_t gap = directives ? bytes / directives : bytes;
    std::size_t nextDirective = 0;
    std::size_t count = 0;
    while (text.size() < bytes) {
        if (count < directives && text.size() >= nextDirective) {
            std::size_t file = (count * 7919) % distinctFiles;
            text += "#line " + std::to_string(count % 5000 + 1) + " \"Z:\\\\src\\\\include\\\\dir" +
                    std::to_string(file % 97) + "\\\\header_" + std::to_string(file) + ".h\"\r\n";
            ++count;
            nextDirective += gap;
        } else {
            text += code;
        }
    }
    return text;
}

} // namespace zarn::bench
