#include "host/program_arguments.h"

#include "host/win32/wide_text.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

// The C runtime's own wide arguments, split by its rules, as a wmain would get them.
extern "C" int __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** environment, int expand,
                              int* startInfo);

namespace zarn {

ProgramArguments::ProgramArguments(int argc, char** argv) {
    // A tool's output passes through byte for byte: no line end is rewritten.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    int wideCount = 0;
    wchar_t** wide = nullptr;
    wchar_t** environment = nullptr;
    int startInfo = 0;
    if (__wgetmainargs(&wideCount, &wide, &environment, 0, &startInfo) == 0 && wide != nullptr) {
        for (int i = 0; i < wideCount; ++i)
            words_.push_back(fromWide(wide[i]));
    } else {
        words_.assign(argv, argv + argc);
    }
    for (std::string& word : words_)
        pointers_.push_back(word.data());
    pointers_.push_back(nullptr);
}

} // namespace zarn
