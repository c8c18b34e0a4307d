#include "response_files.h"

#include "host/command_line.h"
#include "host/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

extern char** environ;

namespace zarn::toolchain {

namespace {

// What one argument or the whole list may take up on Linux: 32 pages for one string, and the
// strings, their pointers and the environment together a quarter of the stack limit.
constexpr std::size_t longestArgument = 32 * 4096 - 1;

std::size_t environmentSize() {
    std::size_t size = 0;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry)
        size += std::strlen(*entry) + 1 + sizeof(char*);
    return size;
}

} // namespace

std::vector<std::string> responseFileArguments(std::string_view text) {
    std::string blanks(text);
    for (char& c : blanks) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    // A file written as UTF-8 may start with its byte order mark.
    if (blanks.compare(0, 3, "\xef\xbb\xbf") == 0)
        blanks.erase(0, 3);
    return splitCommandLine(blanks);
}

std::optional<std::vector<std::string>>
expandResponseFiles(const std::vector<std::string>& arguments, const char* adapterName) {
    std::vector<std::string> expanded;
    expanded.reserve(arguments.size());
    for (const std::string& argument : arguments) {
        if (argument.empty() || argument[0] != '@') {
            expanded.push_back(argument);
            continue;
        }
        std::string text;
        if (!readWholeFile(argument.substr(1), text)) {
            std::fprintf(stderr, "%s: cannot read the response file '%s': %s\n", adapterName,
                         argument.c_str() + 1, std::strerror(errno));
            return std::nullopt;
        }
        for (std::string& word : responseFileArguments(text))
            expanded.push_back(std::move(word));
    }
    return expanded;
}

bool fitsOnCommandLine(const std::string& program, const std::vector<std::string>& arguments) {
    long limit = sysconf(_SC_ARG_MAX);
    std::size_t room = limit > 0 ? static_cast<std::size_t>(limit) : 128 * 1024;
    std::size_t size = environmentSize() + program.size() + 1 + 2 * sizeof(char*);
    for (const std::string& argument : arguments) {
        if (argument.size() > longestArgument)
            return false;
        size += argument.size() + 1 + sizeof(char*);
    }
    // Room for what the system itself puts on the new stack.
    return size + 4096 < room;
}

bool ToolResponseFile::create(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) {
        if (!text.empty())
            text += '\n';
        text += quoteArgument(argument);
    }
    text += '\n';
    return file_.create("zarn-llvm-", ".rsp", text);
}

} // namespace zarn::toolchain
