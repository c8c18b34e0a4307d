#include "host/files.h"

#include "host/environment.h"
#include "host/paths.h"
#include "host/posix/descriptors.h"
#include "host/posix/signals.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
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
    // A device has no end to read to (think of /dev/zero); a FIFO has one.
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        return fail(ENODEV);
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

namespace {

// Creates or empties the file and writes the text into it where it stands.
WriteOutcome writeInPlace(const std::string& path, std::string_view text) {
    std::FILE* file = std::fopen(path.c_str(), "w");
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

// The link's target as a path usable from here: relative targets are relative to the link.
std::optional<std::string> linkTarget(const std::string& link) {
    std::string target(256, '\0');
    for (;;) {
        ssize_t length = readlink(link.c_str(), target.data(), target.size());
        if (length < 0)
            return std::nullopt;
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            break;
        }
        target.resize(2 * target.size());
    }
    std::size_t slash = link.rfind('/');
    if (target.empty() || target[0] == '/' || slash == std::string::npos)
        return target;
    return link.substr(0, slash + 1) + target;
}

// The file a write to the path lands in: the path, or the end of its chain of links.
std::string followLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status;
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            break;
        std::optional<std::string> target = linkTarget(path);
        if (!target)
            break;
        path = std::move(*target);
    }
    return path;
}

// A new file beside the path, named so that no pattern for the real files matches it.
int createTemporaryBeside(const std::string& path, std::string& temporary) {
    std::size_t slash = path.rfind('/');
    std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    for (int attempt = 0;; ++attempt) {
        temporary = directory + "." + base + ".zarn" + std::to_string(getpid()) + "-" +
                    std::to_string(attempt) + ".tmp";
        int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST || attempt == 100)
            return fd;
    }
}

// Writes the text to a new file beside the path and renames it over the path, so that the
// path names either its old contents or all of the new ones, whatever happens on the way.
WriteOutcome replaceWhole(const std::string& path, std::string_view text, const struct stat* old) {
    StopSignalsHeld held;
    std::string temporary;
    int fd = createTemporaryBeside(path, temporary);
    if (fd < 0) {
        // A file that may be written in a directory that may not: as before, in place.
        if (old != nullptr && (errno == EACCES || errno == EPERM || errno == EROFS))
            return writeInPlace(path, text);
        return WriteOutcome::openFailed;
    }
    auto fail = [&](WriteOutcome outcome, int error) {
        unlink(temporary.c_str());
        errno = error;
        return outcome;
    };
    if (old != nullptr)
        fchmod(fd, old->st_mode & 07777);
    if (!writeDescriptor(fd, text)) {
        int error = errno;
        close(fd);
        return fail(WriteOutcome::writeFailed, error);
    }
    if (close(fd) != 0)
        return fail(WriteOutcome::closeFailed, errno);
    // Asked to stop on the way: the old file stays, and the signal ends zarn once let through.
    if (held.stopPending())
        return fail(WriteOutcome::writeFailed, EINTR);
    if (rename(temporary.c_str(), path.c_str()) != 0)
        return fail(WriteOutcome::writeFailed, errno);
    return WriteOutcome::written;
}

} // namespace

bool canWriteWholeFile(std::string_view name) {
    std::string path = toPosixPath(name);
    if (path.empty()) {
        errno = ENOENT;
        return false;
    }
    path = followLinks(std::move(path));
    struct stat status;
    bool exists = lstat(path.c_str(), &status) == 0;
    if (exists && S_ISDIR(status.st_mode)) {
        errno = EISDIR;
        return false;
    }
    // A device or a FIFO is not tried: opening a FIFO could wait for a reader.
    if (exists && !S_ISREG(status.st_mode))
        return true;
    std::string temporary;
    int fd = createTemporaryBeside(path, temporary);
    if (fd < 0)
        return exists && (errno == EACCES || errno == EPERM || errno == EROFS) &&
               access(path.c_str(), W_OK) == 0;
    close(fd);
    unlink(temporary.c_str());
    return true;
}

WriteOutcome writeWholeFile(std::string_view name, std::string_view text) {
    std::string path = toPosixPath(name);
    if (path.empty())
        return writeInPlace(path, text);
    path = followLinks(std::move(path));
    struct stat status;
    if (lstat(path.c_str(), &status) != 0)
        return replaceWhole(path, text, nullptr);
    // A device or a FIFO cannot be replaced, and a directory fails as it always has.
    if (!S_ISREG(status.st_mode))
        return writeInPlace(path, text);
    return replaceWhole(path, text, &status);
}

int createUniqueFile(std::string& pathTemplate, int suffixLength) {
#if ZARN_LINUX_SPEEDUPS
    return mkostemps(pathTemplate.data(), suffixLength, O_CLOEXEC);
#else
    int fd = mkstemps(pathTemplate.data(), suffixLength);
    if (fd >= 0)
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    return fd;
#endif
}

TemporaryFile::~TemporaryFile() {
    if (!path_.empty())
        unlink(path_.c_str());
}

bool TemporaryFile::create(std::string_view prefix, std::string_view suffix,
                           std::string_view text) {
    std::string path = environmentValue("TMPDIR").value_or("");
    if (path.empty())
        path = "/tmp";
    path += '/';
    path += prefix;
    path += "XXXXXX";
    path += suffix;
    int fd = createUniqueFile(path, static_cast<int>(suffix.size()));
    if (fd < 0)
        return false;
    path_ = path;
    bool written = writeDescriptor(fd, text);
    int error = errno;
    if (close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    errno = error;
    return written;
}

bool writeBytes(std::FILE* stream, std::string_view bytes) {
    // An empty capture has no buffer at all, and fwrite must not see a null pointer.
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
}

} // namespace zarn
