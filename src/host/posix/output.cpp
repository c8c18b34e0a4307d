#include "host/output.h"

#include "host/posix/descriptors.h"
#include "host/program_end.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace zarn {

namespace {

#if ZARN_LINUX_SPEEDUPS
// Outputs from this size on are passed on by reference when they go into a pipe.
constexpr std::size_t largeOutput = 1024 * 1024;
#endif

// zarn may inherit a non-blocking stream (its O_NONBLOCK belongs to whoever opened it): a full
// pipe then means waiting for the reader, not failing.
bool waitUntilWritable(int fd) {
    pollfd stream{fd, POLLOUT, 0};
    while (poll(&stream, 1, -1) < 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

bool mayRetry(int fd) {
    return errno == EINTR || (errno == EAGAIN && waitUntilWritable(fd));
}

} // namespace

bool writeDescriptor(int fd, std::string_view rest) {
    while (!rest.empty()) {
        ssize_t count = write(fd, rest.data(), rest.size());
        if (count < 0 && mayRetry(fd))
            continue;
        if (count < 0)
            return false;
        rest.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

bool writeToStream(std::FILE* stream, std::string_view bytes) {
    return std::fflush(stream) == 0 && writeDescriptor(fileno(stream), bytes);
}

bool lendToStream(std::FILE* stream, std::string_view rest) {
    if (std::fflush(stream) != 0)
        return false;
    int fd = fileno(stream);
#if ZARN_LINUX_SPEEDUPS
    struct stat status;
    if (rest.size() >= largeOutput && fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode)) {
        // Into a pipe, a large output is handed over by reference instead of copied, which
        // halves the cost of passing it on.
        while (!rest.empty()) {
            iovec piece{const_cast<char*>(rest.data()), rest.size()};
            ssize_t count = vmsplice(fd, &piece, 1, 0);
            if (count < 0 && mayRetry(fd))
                continue;
            if (count <= 0)
                break; // what is left goes the ordinary way
            rest.remove_prefix(static_cast<std::size_t>(count));
        }
    }
#endif
    return writeDescriptor(fd, rest);
}

void writeOwnOutput(std::string_view text) {
    if (writeToStream(stdout, text))
        return;
    std::fprintf(stderr, "Couldn't write to ``standard output'': %s\n", std::strerror(errno));
    endProgram(1);
}

} // namespace zarn
