// A stand-in for cl.exe, link.exe and lib.exe, installed under those names for the tests, and
// for a compiler launcher ("launcher", given the tool's name and arguments, as sccache is).
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
//   STANDIN_RESET_EVENT          (Windows) reset the event of this handle value, if inherited
//   STANDIN_PID_FILE             write its process id to this file, once it runs
//   STANDIN_SLEEP_MS             then sleep this long before going on
// With "/E" right after the tool's "/nologo" (or "-E" after "-nologo"), and a preprocessed text
// set, it is a preprocessing run and reads these instead:
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
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

extern "C" int __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** environment, int expand,
                              int* startInfo);
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
std::string utf8(const wchar_t* text, int length = -1) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, bytes.data(), size, nullptr, nullptr);
    if (length < 0 && !bytes.empty())
        bytes.pop_back(); // the terminating zero
    return bytes;
}

// Settings and arguments as UTF-8, the way zarn writes them, whatever the code page.
const char* setting(const char* name) {
    static std::map<std::string, std::string> values;
    std::wstring wideName(name, name + std::strlen(name));
    DWORD length = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (length == 0)
        return nullptr;
    std::wstring value(length, L'\0');
    length = GetEnvironmentVariableW(wideName.c_str(), value.data(), length);
    value.resize(length);
    return (values[name] = utf8(value.c_str(), static_cast<int>(value.size()))).c_str();
}

std::vector<std::string> arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = nullptr;
    wchar_t** environment = nullptr;
    int startInfo = 0;
    if (__wgetmainargs(&count, &wide, &environment, 0, &startInfo) != 0 || wide == nullptr)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i)
        words.push_back(utf8(wide[i]));
    return words;
}

void pause(int ms) {
    Sleep(static_cast<DWORD>(ms));
}

int processId() {
    return static_cast<int>(GetCurrentProcessId());
}

// A response file zarn wrote on Windows is UTF-16 with its byte order mark.
std::string responseText(const std::string& bytes) {
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xff\xfe") != 0)
        return bytes;
    std::wstring wide((bytes.size() - 2) / 2, L'\0');
    std::memcpy(wide.data(), bytes.data() + 2, wide.size() * 2);
    return utf8(wide.c_str(), static_cast<int>(wide.size()));
}
#else
const char* setting(const char* name) {
    return std::getenv(name);
}

std::vector<std::string> arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void pause(int ms) {
    usleep(static_cast<useconds_t>(ms) * 1000);
}

int processId() {
    return static_cast<int>(getpid());
}

std::string responseText(const std::string& bytes) {
    return bytes;
}
#endif

// Called as the launcher, the tool's name is its first argument and the tool's own follow.
std::size_t firstToolArgument(const std::string& program) {
    std::size_t nameStart = program.find_last_of("/\\");
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    return program.compare(nameStart, 8, "launcher") == 0 ? 2 : 1;
}

void writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t piece = std::min<std::size_t>(bytes.size() - done, 1 << 20);
#ifdef _WIN32
        long count = _write(fd, bytes.data() + done, static_cast<unsigned>(piece));
#else
        long count = write(fd, bytes.data() + done, piece);
#endif
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

void record(const std::vector<std::string>& argv) {
    const char* log = setting("STANDIN_LOG");
    if (log == nullptr)
        return;
    std::string entry = "run\n";
    for (const std::string& argument : argv)
        entry += std::to_string(argument.size()) + ":" + argument + "\n";
    // A response file, named as zarn names files: in Windows form, the POSIX root as Z: where
    // the stand-in runs on Linux.
    for (std::size_t i = 1; i < argv.size(); ++i) {
        if (argv[i].empty() || argv[i][0] != '@')
            continue;
        std::string name = argv[i].substr(1);
#ifndef _WIN32
        if (name.compare(0, 2, "Z:") == 0)
            name.erase(0, 2);
        std::replace(name.begin(), name.end(), '\\', '/');
#endif
        std::ifstream file(name, std::ios::binary);
        std::string text = responseText(
            std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()));
        entry += "RSP " + std::to_string(text.size()) + ":" + text + "\n";
    }
    const char* lib = setting("LIB");
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

// The pipes the stand-in inherited beside its standard streams (POSIX systems; on Windows only
// the three standard handles are passed on, and this lists nothing).
std::string inheritedPipes() {
    std::string list;
#ifndef _WIN32
    for (int fd = 3; fd < 1024; ++fd) {
        struct stat status;
        if (fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode))
            list += std::to_string(fd) + " ";
    }
#endif
    return list;
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Every byte as given: no line end becomes CR LF.
    _setmode(1, _O_BINARY);
    _setmode(2, _O_BINARY);
#endif
    std::vector<std::string> words = arguments(argc, argv);
    record(words);
    std::size_t first = words.empty() ? 1 : firstToolArgument(words[0]);
    // Options as zarn writes them: "/x", or "-x" behind a launcher.
    auto isOption = [&](std::size_t at, const char* name) {
        return at < words.size() && !words[at].empty() &&
               (words[at][0] == '/' || words[at][0] == '-') && words[at].substr(1) == name;
    };
    bool preprocessing = isOption(first, "nologo") && isOption(first + 1, "E") &&
                         setting("STANDIN_PREPROCESSED_FILE");
    if (preprocessing) {
        if (const char* text = setting("STANDIN_PREPROCESSED_FILE"))
            writeFile(1, text);
        if (const char* text = setting("STANDIN_PREPROCESS_STDERR"))
            writeAll(2, text);
        const char* status = setting("STANDIN_PREPROCESS_STATUS");
        return status ? std::atoi(status) : 0;
    }
    if (const char* file = setting("STANDIN_PID_FILE"))
        std::ofstream(file) << processId() << "\n";
    if (const char* ms = setting("STANDIN_SLEEP_MS"))
        pause(std::atoi(ms));
    if (setting("STANDIN_ECHO_STDIN"))
        writeAll(1, std::string(std::istreambuf_iterator<char>(std::cin), {}));
    if (setting("STANDIN_LIST_PIPES"))
        writeAll(1, inheritedPipes());
#ifdef _WIN32
    if (const char* handle = setting("STANDIN_RESET_EVENT"))
        ResetEvent(reinterpret_cast<HANDLE>(std::strtoull(handle, nullptr, 10)));
#endif
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
#ifdef _WIN32
        _close(1);
        _close(2);
#else
        close(1);
        close(2);
#endif
        pause(std::atoi(ms));
    }
    if (const char* signal = setting("STANDIN_SIGNAL"))
        std::raise(std::atoi(signal));
    const char* status = setting("STANDIN_STATUS");
    return status ? std::atoi(status) : 0;
}
