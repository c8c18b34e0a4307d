// Writes a synthetic preprocessed output for whole-run benchmarks.
// Usage: generate_preprocessed FILE MEGABYTES DIRECTIVES DISTINCT_FILES
#include "preprocessed_text.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s FILE MEGABYTES DIRECTIVES DISTINCT_FILES\n", argv[0]);
        return 2;
    }
    std::string text = zarn::bench::preprocessedText(std::strtoull(argv[2], nullptr, 10) << 20,
                                                     std::strtoull(argv[3], nullptr, 10),
                                                     std::strtoull(argv[4], nullptr, 10));
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr || std::fwrite(text.data(), 1, text.size(), file) != text.size() ||
        std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
