#include "host/files.h"

#include "host/paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zarn {

bool fileExists(std::string_view name) {
    struct stat status;
    return stat(toPosixPath(name).c_str(), &status) == 0;
}

bool readWholeFile(std::string_view name, std::string& contents) {
    int fd = open(toPosixPath(name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    auto fail = [fd](int error) {
        close(fd);
        errno = error;
        return false;
    };
    struct stat status;
    if (fstat(fd, &status) != 0)
        return fail(errno);
    if (S_ISDIR(status.st_mode))
        return fail(EISDIR);
    // One byte more than the size we know, so that the end shows as a read of nothing.
    contents.resize(static_cast<std::size_t>(status.st_size) + 1);
    std::size_t size = 0;
    for (;;) {
        if (size == contents.size())
            contents.resize(2 * contents.size());
        ssize_t count = read(fd, &contents[size], contents.size() - size);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return fail(errno);
        if (count == 0)
            break;
        size += static_cast<std::size_t>(count);
    }
    contents.resize(size);
    close(fd);
    return true;
}

WriteOutcome writeWholeFile(std::string_view name, std::string_view text) {
    std::FILE* file = std::fopen(toPosixPath(name).c_str(), "w");
    if (file == nullptr)
        return WriteOutcome::openFailed;
    // Flushing here makes a full disk a write failure rather than a surprise at close.
    if (!writeBytes(file, text) || std::fflush(file) != 0) {
        int error = errno;
        std::fclose(file);
        errno = error;
        return WriteOutcome::writeFailed;
    }
    if (std::fclose(file) != 0)
        return WriteOutcome::closeFailed;
    return WriteOutcome::written;
}

bool writeBytes(std::FILE* stream, std::string_view bytes) {
    // An empty capture has no buffer at all, and fwrite must not see a null pointer.
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
}

} // namespace zarn
