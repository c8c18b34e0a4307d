#include "host/output.h"

#include "host/diagnostics.h"
#include "host/program_end.h"
#include "host/win32/handles.h"

#include <algorithm>
#include <cstdio>
#include <io.h>

namespace zarn {

bool writeHandle(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data(), piece, &written, nullptr))
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool writeToStream(std::FILE* stream, std::string_view bytes) {
    if (std::fflush(stream) != 0)
        return false;
    // Straight to the system's handle: the C runtime would turn line ends into CR LF.
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    if (handle == INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return writeHandle(handle, bytes);
}

bool lendToStream(std::FILE* stream, std::string_view bytes) {
    return writeToStream(stream, bytes);
}

void writeOwnOutput(std::string_view text) {
    if (writeToStream(stdout, text))
        return;
    std::fprintf(stderr, "Couldn't write to ``standard output'': %s\n", lastErrorText().c_str());
    endProgram(1);
}

} // namespace zarn
