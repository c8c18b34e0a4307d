#include "host/process.h"

#include "host/command_line.h"
#include "host/diagnostics.h"
#include "host/output.h"
#include "host/paths.h"
#include "host/posix/descriptors.h"
#include "host/posix/signals.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zarn {

namespace {

// Reads are at least this large, so a big output costs few system calls.
constexpr std::size_t minimumRead = 256 * 1024;
constexpr std::size_t hugePage = 2 * 1024 * 1024;
// An output that reaches this size gets a larger pipe.
constexpr std::size_t largeOutput = 1024 * 1024;

// A pipe whose ends are closed when it goes, unless closed before.
struct Pipe {
    int readEnd = -1;
    int writeEnd = -1;

    Pipe() = default;
    ~Pipe() {
        for (int fd : {readEnd, writeEnd}) {
            if (fd >= 0)
                close(fd);
        }
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
};

// Closes the end now; a failure is a fatal report.
void closeEnd(int& fd) {
    int closing = fd;
    fd = -1;
    if (close(closing) != 0)
        win32FatalError("CloseHandle([handle])");
}

// Makes a pipe whose ends the child does not inherit; the spawn gives it only the ends it
// needs. Ends are kept above the standard descriptors, so duplicating one onto 1 or 2 always
// works even when zarn itself was started with a standard stream closed.
void makePipe(Pipe& pipe) {
    int ends[2];
#if ZARN_LINUX_SPEEDUPS
    if (pipe2(ends, O_CLOEXEC) != 0)
        win32FatalError("CreatePipe()");
    pipe.readEnd = ends[0];
    pipe.writeEnd = ends[1];
#else
    if (::pipe(ends) != 0)
        win32FatalError("CreatePipe()");
    pipe.readEnd = ends[0];
    pipe.writeEnd = ends[1];
    if (fcntl(ends[0], F_SETFD, FD_CLOEXEC) != 0 || fcntl(ends[1], F_SETFD, FD_CLOEXEC) != 0)
        win32FatalError("CreatePipe()");
#endif
    for (int* end : {&pipe.readEnd, &pipe.writeEnd}) {
        if (*end > STDERR_FILENO)
            continue;
        int moved = fcntl(*end, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
        if (moved < 0)
            win32FatalError("CreatePipe()");
        closeEnd(*end);
        *end = moved;
    }
}

// A mapping twice the size of the capture's, holding what it has captured so far. On Linux the
// mapping moves without copying its pages, and huge pages are only a hint: without them
// everything works the same.
void* grownMapping(CapturedOutput& capture, std::size_t capacity) {
    if (capture.bytes == nullptr)
        return mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
#if ZARN_LINUX_SPEEDUPS
    return mremap(capture.bytes, capture.capacity, capacity, MREMAP_MAYMOVE);
#else
    void* bytes =
        mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (bytes != MAP_FAILED) {
        std::memcpy(bytes, capture.bytes, capture.size);
        munmap(capture.bytes, capture.capacity);
    }
    return bytes;
#endif
}

// Grows the capture so that a large read fits at its end.
void reserveForRead(CapturedOutput& capture) {
    if (capture.capacity - capture.size >= minimumRead)
        return;
    std::size_t capacity = capture.capacity == 0 ? minimumRead : 2 * capture.capacity;
    void* bytes = grownMapping(capture, capacity);
    if (bytes == MAP_FAILED)
        win32FatalError("LocalAlloc()");
#if ZARN_LINUX_SPEEDUPS
    if (capacity >= hugePage)
        madvise(bytes, capacity, MADV_HUGEPAGE);
#endif
    capture.bytes = static_cast<char*>(bytes);
    capture.capacity = capacity;
}

struct SpawnActions {
    posix_spawn_file_actions_t actions;
    SpawnActions() { posix_spawn_file_actions_init(&actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
};

int spawnWords(std::vector<std::string> words, const SpawnActions& spawn, pid_t& child) {
    if (words.empty())
        return ENOENT;
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    return posix_spawnp(&child, argv[0], &spawn.actions, nullptr, argv.data(), environ);
}

pid_t startChild(std::string_view commandLine, std::size_t programWords, const Pipe& output,
                 const Pipe& error, TemporaryFile& responseFile, std::string_view startFailure) {
    std::vector<std::string> words = splitCommandLine(commandLine);
    SpawnActions spawn;
    int status =
        posix_spawn_file_actions_addopen(&spawn.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (status == 0)
        status = posix_spawn_file_actions_adddup2(&spawn.actions, output.writeEnd, STDOUT_FILENO);
    if (status == 0)
        status = posix_spawn_file_actions_adddup2(&spawn.actions, error.writeEnd, STDERR_FILENO);
    pid_t child = -1;
    if (status == 0)
        status = spawnWords(words, spawn, child);
    // Too long for the system: the tool reads its arguments from a response file, "@file".
    std::string_view arguments = argumentsAfterProgram(commandLine, programWords);
    if (status == E2BIG && words.size() > programWords &&
        responseFile.create("zarn-", ".rsp", arguments)) {
        std::string shortLine(commandLine.substr(0, commandLine.size() - arguments.size()));
        // A tool reads the name in Windows form, as it reads every other; a launcher before it
        // (programWords 2) opens the file itself, on this host, by its own name.
        std::string name =
            programWords > 1 ? responseFile.path() : toWindowsPath(responseFile.path());
        appendArgument(shortLine, "@" + name);
        traceInvocation(shortLine);
        int retried = spawnWords(splitCommandLine(shortLine), spawn, child);
        // Still too long is the environment's fault, and reported with the whole command.
        if (retried != E2BIG)
            status = retried;
    }
    if (status != 0) {
        errno = status;
        if (!startFailure.empty())
            startFailureError(startFailure);
        std::string quoted(commandLine);
        win32FatalError("CreateProcess(\"%s\", ...", quoted.c_str());
    }
    return child;
}

// A tool that writes a lot wakes zarn less often through a larger pipe. Only streams that have
// proved large get one, since the system counts enlarged pipes against a per-user budget.
// Just an optimisation: the system may refuse it, and the default size works as well.
void enlargePipe(int fd) {
#if ZARN_LINUX_SPEEDUPS
    fcntl(fd, F_SETPIPE_SZ, static_cast<int>(largeOutput));
#else
    (void)fd;
#endif
}

// Reads both streams at once, so a child that fills one pipe while the other is still open
// never waits on zarn. A pipe without a read end (standard output in a file) is left out.
void captureBoth(Pipe& outputPipe, Pipe& errorPipe, CapturedOutput& output, CapturedOutput& error) {
    pollfd streams[2] = {{outputPipe.readEnd, POLLIN, 0}, {errorPipe.readEnd, POLLIN, 0}};
    int* ends[2] = {&outputPipe.readEnd, &errorPipe.readEnd};
    CapturedOutput* captures[2] = {&output, &error};
    int open = (outputPipe.readEnd >= 0) + (errorPipe.readEnd >= 0);
    while (open > 0) {
        if (poll(streams, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            win32FatalError("WaitForMultipleObjects()");
        }
        for (int i = 0; i < 2; ++i) {
            if (streams[i].fd < 0 || streams[i].revents == 0)
                continue;
            CapturedOutput& capture = *captures[i];
            // A stream that only hung up has nothing to read: most tools write nothing to one
            // of their streams, and this spares a mapping for it.
            bool onlyEnded = !(streams[i].revents & POLLIN);
            if (!onlyEnded)
                reserveForRead(capture);
            ssize_t count = onlyEnded ? 0
                                      : read(streams[i].fd, capture.bytes + capture.size,
                                             capture.capacity - capture.size);
            if (count < 0) {
                if (errno == EINTR || errno == EAGAIN)
                    continue;
                win32FatalError("ReadFile()");
            }
            if (count == 0) {
                closeEnd(*ends[i]);
                streams[i].fd = -1;
                --open;
                continue;
            }
            std::size_t before = capture.size;
            capture.size += static_cast<std::size_t>(count);
            if (before < largeOutput && capture.size >= largeOutput)
                enlargePipe(streams[i].fd);
        }
    }
}

// A file in memory for the child's standard output, as the write end of the pipe; -1 where the
// system has none, and the pipe serves. Memory, not a temporary directory, so that a full disk
// fails no compile that a pipe would have let through.
int openOutputFile() {
#if ZARN_LINUX_SPEEDUPS
    return memfd_create("zarn-output", MFD_CLOEXEC);
#else
    return -1;
#endif
}

// Takes the pipe's place with the file: the child writes to it, zarn reads nothing until the end.
void outputToFile(Pipe& pipe) {
    int file = openOutputFile();
    if (file < 0)
        return;
    if (file <= STDERR_FILENO) {
        int moved = fcntl(file, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
        close(file);
        if (moved < 0)
            return;
        file = moved;
    }
    closeEnd(pipe.readEnd);
    closeEnd(pipe.writeEnd);
    pipe.writeEnd = file;
}

// Appends the whole file to the capture.
void captureFile(int fd, CapturedOutput& capture) {
    for (off_t offset = 0;;) {
        reserveForRead(capture);
        ssize_t count =
            pread(fd, capture.bytes + capture.size, capture.capacity - capture.size, offset);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            win32FatalError("ReadFile()");
        }
        if (count == 0)
            return;
        capture.size += static_cast<std::size_t>(count);
        offset += count;
    }
}

int waitForExit(pid_t child, StopSignalsForwarded& forwarded) {
    int status = waitForChild(child, forwarded);
    if (status < 0)
        win32FatalError("GetExitCodeProcess()");
    return status;
}

} // namespace

CapturedOutput::~CapturedOutput() {
    if (bytes != nullptr)
        munmap(bytes, capacity);
}

int runExternalProcess(std::string_view commandLine, CapturedOutput& output, CapturedOutput& error,
                       std::size_t programWords, StandardOutput standardOutput,
                       std::string_view startFailure) {
    traceInvocation(commandLine);
    // From here on a stop signal goes to the tool, which zarn then waits for: no tool outlives
    // zarn, and none runs on unseen, still writing its output file.
    StopSignalsForwarded forwarded;
    TemporaryFile responseFile;
    Pipe outputPipe, errorPipe;
    makePipe(outputPipe);
    makePipe(errorPipe);
    if (standardOutput == StandardOutput::file)
        outputToFile(outputPipe);
    // The file the child writes its standard output to, which zarn keeps open to read.
    int outputFile = outputPipe.readEnd < 0 ? outputPipe.writeEnd : -1;
    pid_t child =
        startChild(commandLine, programWords, outputPipe, errorPipe, responseFile, startFailure);
    forwarded.forwardTo(child);
    try {
        // Once zarn's copies of the write ends are gone, end of file means the child's are too.
        if (outputFile < 0)
            closeEnd(outputPipe.writeEnd);
        closeEnd(errorPipe.writeEnd);
        captureBoth(outputPipe, errorPipe, output, error);
    } catch (...) {
        // The report is out; the child finds its pipes gone and is reaped before zarn ends.
        for (int* end : {&outputPipe.readEnd, &errorPipe.readEnd}) {
            if (*end >= 0)
                close(*end);
            *end = -1;
        }
        int ignored;
        while (waitpid(child, &ignored, 0) < 0 && errno == EINTR) {
        }
        throw;
    }
    int status = waitForExit(child, forwarded);
    if (outputFile >= 0)
        captureFile(outputFile, output);
    // Asked to stop: not a success, even from a tool that took no notice.
    if (status == 0 && forwarded.received() != 0)
        status = 128 + forwarded.received();
    return status;
}

} // namespace zarn
