// A stand-in for cl.exe, link.exe and lib.exe, installed under those names for the tests.
// It records how it was called and behaves as the environment tells it:
//   STANDIN_LOG                  append a record of the run (arguments, the text of a response
//                                file named "@file", LIB) to this file
//   STANDIN_STDOUT, _STDERR      text to write to standard output, standard error
//   STANDIN_STDOUT_FILE, _STDERR_FILE   bytes of these files to write (zero bytes included)
//   STANDIN_FLOOD                write this many bytes to each stream, interleaved
//   STANDIN_STATUS               exit status
//   STANDIN_SIGNAL               end by this signal instead
//   STANDIN_CLOSE_EARLY_MS       close both streams, then go on running this long
//   STANDIN_ECHO_STDIN           copy standard input to standard output first
//   STANDIN_LIST_PIPES           write the numbers of inherited pipe descriptors above 2
//   STANDIN_PID_FILE             write its process id to this file, once it runs
//   STANDIN_SLEEP_MS             then sleep this long before going on
// With "/E" right after "/nologo", and a preprocessed text set, it is a preprocessing run and
// reads these instead:
//   STANDIN_PREPROCESSED_FILE    the preprocessed text to write to standard output
//   STANDIN_PREPROCESS_STDERR, STANDIN_PREPROCESS_STATUS
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* setting(const char* name) {
    return std::getenv(name);
}

void writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t count = write(fd, bytes.data() + done, bytes.size() - done);
        if (count <= 0)
            std::exit(99);
        done += static_cast<std::size_t>(count);
    }
}

// Copies the file in blocks, so a large text costs the stand-in little memory of its own.
void writeFile(int fd, const char* name) {
    std::ifstream file(name, std::ios::binary);
    std::string block(1 << 20, '\0');
    while (file.read(&block[0], static_cast<std::streamsize>(block.size())) || file.gcount() > 0)
        writeAll(fd, block.substr(0, static_cast<std::size_t>(file.gcount())));
}

void record(int argc, char** argv) {
    const char* log = setting("STANDIN_LOG");
    if (log == nullptr)
        return;
    std::string entry = "run\n";
    for (int i = 0; i < argc; ++i)
        entry += std::to_string(std::strlen(argv[i])) + ":" + argv[i] + "\n";
    // A response file, named as zarn names files: in Windows form, the POSIX root as Z:.
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '@')
            continue;
        std::string name = argv[i] + 1;
        if (name.compare(0, 2, "Z:") == 0)
            name.erase(0, 2);
        std::replace(name.begin(), name.end(), '\\', '/');
        std::ifstream file(name, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        entry += "RSP " + std::to_string(text.size()) + ":" + text + "\n";
    }
    const char* lib = std::getenv("LIB");
    entry += lib ? "LIB " + std::to_string(std::strlen(lib)) + ":" + lib + "\n" : "LIB unset\n";
    std::ofstream(log, std::ios::binary | std::ios::app) << entry << "end\n";
}

// Byte i of the flood on one stream; the two streams differ so a mix-up shows.
char floodByte(std::size_t i, int stream) {
    return static_cast<char>((i * 31 + i / 65536 + static_cast<std::size_t>(stream) * 101) & 0xff);
}

void flood(std::size_t bytes) {
    const std::size_t block = 60000;
    std::string chunk;
    for (std::size_t done = 0; done < bytes; done += block) {
        std::size_t count = std::min(block, bytes - done);
        for (int stream = 1; stream <= 2; ++stream) {
            chunk.resize(count);
            for (std::size_t i = 0; i < count; ++i)
                chunk[i] = floodByte(done + i, stream);
            writeAll(stream, chunk);
        }
    }
}

std::string inheritedPipes() {
    std::string list;
    for (int fd = 3; fd < 1024; ++fd) {
        struct stat status;
        if (fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode))
            list += std::to_string(fd) + " ";
    }
    return list;
}

} // namespace

int main(int argc, char** argv) {
    record(argc, argv);
    bool preprocessing = argc >= 3 && std::strcmp(argv[1], "/nologo") == 0 &&
                         std::strcmp(argv[2], "/E") == 0 && setting("STANDIN_PREPROCESSED_FILE");
    if (preprocessing) {
        if (const char* text = setting("STANDIN_PREPROCESSED_FILE"))
            writeFile(1, text);
        if (const char* text = setting("STANDIN_PREPROCESS_STDERR"))
            writeAll(2, text);
        const char* status = setting("STANDIN_PREPROCESS_STATUS");
        return status ? std::atoi(status) : 0;
    }
    if (const char* file = setting("STANDIN_PID_FILE"))
        std::ofstream(file) << getpid() << "\n";
    if (const char* ms = setting("STANDIN_SLEEP_MS"))
        usleep(static_cast<useconds_t>(std::atoi(ms)) * 1000);
    if (setting("STANDIN_ECHO_STDIN"))
        writeAll(1, std::string(std::istreambuf_iterator<char>(std::cin), {}));
    if (setting("STANDIN_LIST_PIPES"))
        writeAll(1, inheritedPipes());
    if (const char* text = setting("STANDIN_STDOUT"))
        writeAll(1, text);
    if (const char* file = setting("STANDIN_STDOUT_FILE"))
        writeFile(1, file);
    if (const char* text = setting("STANDIN_STDERR"))
        writeAll(2, text);
    if (const char* file = setting("STANDIN_STDERR_FILE"))
        writeFile(2, file);
    if (const char* bytes = setting("STANDIN_FLOOD"))
        flood(std::strtoull(bytes, nullptr, 10));
    if (const char* ms = setting("STANDIN_CLOSE_EARLY_MS")) {
        close(1);
        close(2);
        usleep(static_cast<useconds_t>(std::atoi(ms)) * 1000);
    }
    if (const char* signal = setting("STANDIN_SIGNAL"))
        std::raise(std::atoi(signal));
    const char* status = setting("STANDIN_STATUS");
    return status ? std::atoi(status) : 0;
}
