#include "host/output.h"
#include "host/process.h"

namespace zarn {

std::string_view capturedText(const CapturedOutput& output) {
    return std::string_view(output.bytes, output.size);
}

bool writeCaptured(std::FILE* stream, const CapturedOutput& output) {
    // A capture is never written to again, and its memory is freed, never reused, when it goes.
    return lendToStream(stream, capturedText(output));
}

} // namespace zarn
