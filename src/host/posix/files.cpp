#include "host/files.h"

#include "host/environment.h"
#include "host/output.h"
#include "host/paths.h"
#include "host/posix/descriptors.h"
#include "host/posix/signals.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace zarn {

namespace {

// Closes the descriptor when it goes.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

} // namespace

bool fileExists(std::string_view name) {
    struct stat status;
    return stat(toPosixPath(name).c_str(), &status) == 0;
}

bool sameFile(std::string_view first, std::string_view second) {
    struct stat one, other;
    return stat(toPosixPath(first).c_str(), &one) == 0 &&
           stat(toPosixPath(second).c_str(), &other) == 0 && one.st_dev == other.st_dev &&
           one.st_ino == other.st_ino;
}

bool readWholeFile(std::string_view name, std::string& contents) {
    Descriptor file(open(toPosixPath(name).c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return false;
    struct stat status;
    if (fstat(file.get(), &status) != 0)
        return false;
    if (S_ISDIR(status.st_mode)) {
        errno = EISDIR;
        return false;
    }
    // A device has no end to read to (think of /dev/zero); a FIFO has one.
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) {
        errno = ENODEV;
        return false;
    }
    // One byte more than the size we know, so that the end shows as a read of nothing.
    contents.resize(static_cast<std::size_t>(status.st_size) + 1);
    std::size_t size = 0;
    for (;;) {
        if (size == contents.size())
            contents.resize(2 * contents.size());
        ssize_t count = read(file.get(), &contents[size], contents.size() - size);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        if (count == 0)
            break;
        size += static_cast<std::size_t>(count);
    }
    contents.resize(size);
    return true;
}

bool removeFile(std::string_view name) {
    return unlink(toPosixPath(name).c_str()) == 0;
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

bool isSystemName(const std::string& path) {
    return path.compare(0, 5, "/dev/") == 0 || path.compare(0, 6, "/proc/") == 0;
}

// Where a whole-file write goes: a regular file (or none yet) is replaced, the file at the end
// of its chain of links; anything else is written where the name leads, as by any program.
struct WriteTarget {
    bool replace = false;
    std::string path;    // the file to replace, or the name to write through
    bool exists = false; // a file to replace is there already
    struct stat status {};
};

WriteTarget writeTarget(std::string_view name) {
    WriteTarget target;
    target.path = toPosixPath(name);
    if (target.path.empty())
        return target;
    struct stat named;
    target.exists = stat(target.path.c_str(), &named) == 0;
    // A device, a FIFO or a descriptor's name (/dev/stdout, /dev/fd/3) is written through; a
    // directory fails as it always has.
    if ((target.exists && !S_ISREG(named.st_mode)) || isSystemName(target.path))
        return target;
    std::string followed = target.path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status;
        if (lstat(followed.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            break;
        std::optional<std::string> next = linkTarget(followed);
        if (!next || isSystemName(*next))
            return target;
        followed = std::move(*next);
    }
    if (target.exists) {
        // Only the file the name leads to is replaced; and one zarn may not write keeps
        // refusing it, as before.
        struct stat found;
        if (lstat(followed.c_str(), &found) != 0 || found.st_dev != named.st_dev ||
            found.st_ino != named.st_ino || access(followed.c_str(), W_OK) != 0)
            return target;
        target.status = named;
    }
    target.replace = true;
    target.path = std::move(followed);
    return target;
}

// A new file beside the path, named so that no pattern for the real files matches it and
// short, so that it fits wherever the file's own name does.
int createTemporaryBeside(const std::string& path, std::string& temporary) {
    std::size_t slash = path.rfind('/');
    std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    for (int attempt = 0;; ++attempt) {
        temporary = directory + ".zarn-" + std::to_string(getpid()) + "-" +
                    std::to_string(attempt) + ".tmp";
        int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST || attempt == 100)
            return fd;
    }
}

// Writes the text to a new file beside the path and renames it over the path, so that the
// path names either its old contents or all of the new ones, whatever happens on the way.
WriteOutcome replaceWhole(const WriteTarget& target, std::string_view text) {
    StopSignalsHeld held;
    FileSizeLimitAsError sizeLimit;
    std::string temporary;
    int fd = createTemporaryBeside(target.path, temporary);
    if (fd < 0) {
        // A file that may be written in a directory that may not: as before, in place.
        if (target.exists && (errno == EACCES || errno == EPERM || errno == EROFS))
            return writeInPlace(target.path, text);
        return WriteOutcome::openFailed;
    }
    auto fail = [&](WriteOutcome outcome, int error) {
        unlink(temporary.c_str());
        errno = error;
        return outcome;
    };
    if (target.exists)
        fchmod(fd, target.status.st_mode & 07777);
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
    if (rename(temporary.c_str(), target.path.c_str()) != 0)
        return fail(WriteOutcome::writeFailed, errno);
    return WriteOutcome::written;
}

} // namespace

bool canWriteWholeFile(std::string_view name) {
    WriteTarget target = writeTarget(name);
    if (target.path.empty()) {
        errno = ENOENT;
        return false;
    }
    if (!target.replace) {
        // Written through: a directory or a file zarn may not write fails, anything else is
        // not tried (opening a FIFO could wait for a reader).
        struct stat status;
        if (stat(target.path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
            errno = EISDIR;
            return false;
        }
        return access(target.path.c_str(), W_OK) == 0 || errno == ENOENT;
    }
    StopSignalsHeld held;
    std::string temporary;
    int fd = createTemporaryBeside(target.path, temporary);
    if (fd < 0)
        return target.exists && (errno == EACCES || errno == EPERM || errno == EROFS) &&
               access(target.path.c_str(), W_OK) == 0;
    close(fd);
    unlink(temporary.c_str());
    return true;
}

// The descriptor a name of the system's stands for: /dev/stdout, /dev/stderr, /dev/fd/N; -1
// for other names.
int namedDescriptor(const std::string& path) {
    if (path == "/dev/stdout")
        return STDOUT_FILENO;
    if (path == "/dev/stderr")
        return STDERR_FILENO;
    static constexpr std::string_view prefix = "/dev/fd/";
    if (path.compare(0, prefix.size(), prefix) != 0 || path.size() == prefix.size() ||
        path.find_first_not_of("0123456789", prefix.size()) != std::string::npos ||
        path.size() > prefix.size() + 9)
        return -1;
    return std::stoi(path.substr(prefix.size()));
}

WriteOutcome writeWholeFile(std::string_view name, std::string_view text) {
    WriteTarget target = writeTarget(name);
    if (target.replace)
        return replaceWhole(target, text);
    // Through the descriptor itself, so that a stream opened for appending is appended to.
    int fd = namedDescriptor(target.path);
    if (fd == STDOUT_FILENO)
        return writeToStream(stdout, text) ? WriteOutcome::written : WriteOutcome::writeFailed;
    if (fd >= 0 && fcntl(fd, F_GETFD) >= 0)
        return writeDescriptor(fd, text) ? WriteOutcome::written : WriteOutcome::writeFailed;
    return writeInPlace(target.path, text);
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
