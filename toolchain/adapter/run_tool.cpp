#include "run_tool.h"

#include "host/command_line.h"
#include "host/files.h"
#include "host/process.h"
#include "host/program_end.h"
#include "line_directives.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace zarn::toolchain {

void execTool(const std::string& program, const std::vector<std::string>& arguments,
              const char* adapterName) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::fflush(stdout);
    execv(program.c_str(), argv.data());
    std::fprintf(stderr, "%s: execv(\"%s\"): %s\n", adapterName, program.c_str(),
                 std::strerror(errno));
    endProgram(1);
}

int runPreprocessor(const std::string& program, const std::vector<std::string>& arguments,
                    const char* adapterName) {
    std::string commandLine = quoteArgument(program);
    for (const std::string& argument : arguments)
        appendArgument(commandLine, argument);
    CapturedOutput output, error;
    int status = runExternalProcess(commandLine, output, error);
    bool written =
        writeBytes(stdout, clLineDirectives(capturedText(output))) && std::fflush(stdout) == 0;
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
