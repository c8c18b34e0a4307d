#include "resource/windres.h"

#include "host/diagnostics.h"
#include "host/files.h"
#include "host/process.h"
#include "host/program_end.h"
#include "resource/windres_command.h"

#include <cstdio>
#include <new>
#include <string>
#include <vector>

namespace zarn {

namespace {

const char* const helpText =
    "usage: zarn-windres [options] [input-file] [output-file]\n"
    "\n"
    "GNU windres's command line for Microsoft's resource tools: rc.exe compiles a resource\n"
    "script (.rc) into a .res file, preprocessing it as the compiler does; cvtres.exe turns a\n"
    ".res file into an object (.o, .obj) for the linker.\n"
    "\n"
    "  -i, --input FILE          the input (else the first file named)\n"
    "  -o, --output FILE         the output (else the second file named)\n"
    "  -J, --input-format F      rc or res (else by the input's ending; rc by default)\n"
    "  -O, --output-format F     res or coff (else by the output's ending; coff by default)\n"
    "  -I, --include-dir DIR     a directory for #include and the files resources name\n"
    "  -D, --define NAME[=V]     define a macro\n"
    "  -U, --undefine NAME       undefine a macro\n"
    "  -F, --target TARGET       pe-x86-64 (the default), pe-i386, pe-aarch64, pe-arm-little\n"
    "  -l, --language LANG       the default language (hexadecimal, as rc.exe's /l)\n"
    "  -c, --codepage PAGE       the code page of the script (as rc.exe's /c)\n"
    "  -v, --verbose, --zarndbg  show each tool's command line\n"
    "  --use-temp-file, --no-use-temp-file   accepted; they change nothing\n"
    "  -h, --help, -V, --version\n";

// Runs one tool and passes on what it wrote; its exit status, or 1 when the output is lost.
int runStep(const std::string& commandLine) {
    CapturedOutput output, error;
    int status = runExternalProcess(commandLine, output, error);
    std::fflush(stdout);
    bool written = writeCaptured(status == 0 ? stdout : stderr, output);
    writeCaptured(stderr, error);
    return status == 0 && !written ? 1 : status;
}

int run(const char* programName, const std::vector<std::string>& arguments) {
    WindresCommand command = windresCommand(arguments);
    if (!command.error.empty()) {
        std::fprintf(stderr, "%s ERROR: %s\n", programName, command.error.c_str());
        return 1;
    }
    if (command.help || command.version) {
        std::string text = command.help ? helpText : "zarn-windres " ZARN_VERSION "\n";
        if (!writeBytes(stdout, text) || std::fflush(stdout) != 0) {
            std::fprintf(stderr, "Couldn't write to ``standard output'': %s\n",
                         lastErrorText().c_str());
            return 1;
        }
        return 0;
    }
    traceEnabled = command.trace;
    int status = 0;
    for (const std::string& commandLine : command.commandLines) {
        status = runStep(commandLine);
        if (status != 0)
            break;
    }
    if (!command.intermediateFile.empty())
        removeFile(command.intermediateFile);
    return status;
}

} // namespace

int runWindres(int argc, char* const* argv) {
    const char* programName = argc > 0 ? argv[0] : "zarn-windres";
    try {
        return run(programName, std::vector<std::string>(argv + 1, argv + argc));
    } catch (const ProgramEnd& end) {
        std::fflush(stdout);
        return end.status;
    } catch (const std::bad_alloc&) {
    }
    std::fflush(stdout);
    std::fprintf(stderr, "%s ERROR: out of memory\n", programName);
    return 1;
}

} // namespace zarn
