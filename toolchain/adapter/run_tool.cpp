#include "run_tool.h"

#include "response_files.h"

#include "host/command_line.h"
#include "host/files.h"
#include "host/posix/signals.h"
#include "host/process.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zarn::toolchain {

namespace {

std::vector<char*> argumentVector(const std::string& program,
                                  const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return argv;
}

// The arguments to start the program with: themselves, or "@file" naming a response file that
// holds them when the system would refuse them. Nothing, after saying why, when that file
// cannot be written.
std::optional<std::vector<std::string>> launchArguments(const std::string& program,
                                                        const std::vector<std::string>& arguments,
                                                        ToolResponseFile& responseFile,
                                                        const char* adapterName) {
    if (fitsOnCommandLine(program, arguments))
        return arguments;
    if (!responseFile.create(arguments)) {
        std::fprintf(stderr, "%s: cannot write a response file for %s: %s\n", adapterName,
                     program.c_str(), std::strerror(errno));
        return std::nullopt;
    }
    return std::vector<std::string>{"@" + responseFile.path()};
}

// Runs the program on this process's standard streams and returns its exit status, passing on
// a stop signal as zarn does.
int runInherited(const std::string& program, const std::vector<std::string>& arguments,
                 const char* adapterName) {
    std::vector<char*> argv = argumentVector(program, arguments);
    StopSignalsForwarded forwarded;
    pid_t child = -1;
    int error = posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (error != 0) {
        std::fprintf(stderr, "%s: posix_spawn(\"%s\"): %s\n", adapterName, program.c_str(),
                     std::strerror(error));
        return 1;
    }
    forwarded.forwardTo(child);
    int status = waitForChild(child, forwarded);
    if (status < 0) {
        std::fprintf(stderr, "%s: waitpid(): %s\n", adapterName, std::strerror(errno));
        return 1;
    }
    return status;
}

} // namespace

int runTool(const std::string& program, const std::vector<std::string>& arguments,
            const char* adapterName) {
    if (fitsOnCommandLine(program, arguments)) {
        std::vector<char*> argv = argumentVector(program, arguments);
        std::fflush(stdout);
        execv(program.c_str(), argv.data());
        if (errno != E2BIG) {
            std::fprintf(stderr, "%s: execv(\"%s\"): %s\n", adapterName, program.c_str(),
                         std::strerror(errno));
            return 1;
        }
        // The system counts differently from fitsOnCommandLine: a response file after all.
    }
    // The response file has to go once the tool is done, so the adapter stays to wait; a stop
    // signal from here on goes to the tool, and the file is removed all the same.
    StopSignalsForwarded forwarded;
    ToolResponseFile responseFile;
    if (!responseFile.create(arguments)) {
        std::fprintf(stderr, "%s: cannot write a response file for %s: %s\n", adapterName,
                     program.c_str(), std::strerror(errno));
        return 1;
    }
    return runInherited(program, {"@" + responseFile.path()}, adapterName);
}

int runToCompletion(const std::string& program, const std::vector<std::string>& arguments,
                    const char* adapterName) {
    ToolResponseFile responseFile;
    std::optional<std::vector<std::string>> launch =
        launchArguments(program, arguments, responseFile, adapterName);
    if (!launch)
        return 1;
    return runInherited(program, *launch, adapterName);
}

int runRewritingOutput(const std::string& program, const std::vector<std::string>& arguments,
                       const char* adapterName,
                       const std::function<std::string(std::string_view)>& rewrite) {
    StopSignalsForwarded forwarded;
    ToolResponseFile responseFile;
    std::optional<std::vector<std::string>> launch =
        launchArguments(program, arguments, responseFile, adapterName);
    if (!launch)
        return 1;
    std::string commandLine = quoteArgument(program);
    for (const std::string& argument : *launch)
        appendArgument(commandLine, argument);
    CapturedOutput output, error;
    int status = runExternalProcess(commandLine, output, error);
    bool written = writeBytes(stdout, rewrite(capturedText(output))) && std::fflush(stdout) == 0;
    int writeError = errno;
    writeBytes(stderr, capturedText(error));
    if (!written) {
        std::fprintf(stderr, "%s: write to standard output: %s\n", adapterName,
                     std::strerror(writeError));
        return status == 0 ? 1 : status;
    }
    return status;
}

} // namespace zarn::toolchain
