// One program under three names: cl.exe, link.exe and lib.exe. Each turns the Microsoft-style
// command line zarn writes into one for the LLVM tool that does the same job on Linux.
#include "compiler_arguments.h"
#include "environment_paths.h"
#include "line_directives.h"
#include "linker_arguments.h"
#include "llvm_tools.h"
#include "resource_arguments.h"
#include "response_files.h"
#include "run_tool.h"
#include "runtime_search.h"

#include "host/environment.h"
#include "host/posix/descriptors.h"
#include "host/process.h"
#include "host/program_end.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace zarn::toolchain {
namespace {

const char* const helpText =
    "usage: cl.exe|link.exe|lib.exe|rc.exe|cvtres.exe [Microsoft-style arguments]\n"
    "\n"
    "One program under five names, for zarn: each runs clang-cl, lld-link, llvm-lib, llvm-rc\n"
    "or llvm-cvtres in place of the Microsoft tool of its name, with file names turned back\n"
    "into POSIX form. rc.exe preprocesses the script with clang-cl, as a compile would.\n"
    "Put its directory first on PATH to have zarn drive LLVM's tools.\n"
    "\n"
    "Runtime: cl.exe adds zarn's C++ library headers (for C++ sources), its runtime headers\n"
    "and Wine's C runtime and Windows headers (libwine-dev) after the INCLUDE entries and /I\n"
    "options, finds them whatever the letter case of an #include, and defines\n"
    "WINE_UNICODE_NATIVE; link.exe, and cl.exe when it links, add zarn's runtime and C++\n"
    "libraries and Wine's import libraries after the LIB entries and /LIBPATH: options.\n"
    "Whatever the user names comes first and wins. The runtime is looked for in the runtime\n"
    "directory beside this program.\n"
    "\n"
    "Environment:\n"
    "  ZARN_NO_RUNTIME=1   add nothing to INCLUDE and LIB (for a Windows SDK of your own)\n"
    "  INCLUDE, LIB        searched first; entries in Windows or POSIX form\n"
    "  PATH                where clang-cl, lld-link, llvm-lib, llvm-rc and llvm-cvtres are\n"
    "                      found\n";

std::optional<std::string> locate(const LlvmTool& tool) {
    std::optional<std::string> program = findLlvmTool(tool);
    if (!program)
        std::fputs(missingToolMessage(tool).c_str(), stderr);
    return program;
}

// rc.exe: the compiler preprocesses the script into a temporary file, then llvm-rc compiles it.
int runResourceCompiler(const std::string& llvmRc, const std::vector<std::string>& arguments,
                        const char* name) {
    std::optional<std::string> compiler = locate(llvmToolFor(Adapter::compiler));
    if (!compiler)
        return 1;
    TemporaryFile preprocessed;
    if (!preprocessed.create("zarn-rc-", ".rc", "")) {
        std::fprintf(stderr, "%s: cannot make a temporary file: %s\n", name, std::strerror(errno));
        return 1;
    }
    RcCommand command = rcCommand(arguments, preprocessed.path());
    if (!command.error.empty()) {
        std::fprintf(stderr, "%s: %s\n", name, command.error.c_str());
        return 1;
    }
    std::optional<std::vector<std::string>> options = offerRuntime(name, {true, false, false});
    if (!options)
        return 1;
    command.preprocessing.insert(command.preprocessing.begin(), options->begin(), options->end());
    int status = runToCompletion(*compiler, command.preprocessing, name);
    if (status != 0)
        return status;
    return runToCompletion(llvmRc, command.compiling, name);
}

int runAdapter(Adapter adapter, const std::vector<std::string>& arguments) {
    const LlvmTool& tool = llvmToolFor(adapter);
    const char* name = tool.microsoftName.data();
    std::optional<std::string> program = locate(tool);
    if (!program)
        return 1;
    convertSearchPathVariables();
    switch (adapter) {
    case Adapter::compiler: {
        ClangClCommand command = clangClCommand(arguments);
        // clang-cl would only warn, and its caller take the missing object for a success.
        if (command.missingSource) {
            std::fputs("cl : Command line error D8003 : missing source filename\n", stderr);
            return 2;
        }
        // clang-cl finds lld-link where PATH does; saying so here beats clang's own message.
        if (command.linking && !locate(llvmToolFor(Adapter::linker)))
            return 1;
        // Without arguments it only shows the compiler's version.
        if (!arguments.empty()) {
            std::optional<std::vector<std::string>> options = offerRuntime(
                name, {!command.preprocessedOnly, command.cxx, command.linking, command.gccMode});
            if (!options)
                return 1;
            // First, so that the user's own /U and /D come after them.
            command.arguments.insert(command.arguments.begin(), options->begin(), options->end());
            std::vector<std::string> fidelity = clangClFidelityOptions();
            command.arguments.insert(command.arguments.begin(), fidelity.begin(), fidelity.end());
        }
        if (command.preprocessing && command.gccMode) {
            std::optional<std::string> directory = workingDirectory();
            if (!directory) {
                std::fprintf(stderr, "%s: cannot tell the working directory: %s\n", name,
                             std::strerror(errno));
                return 1;
            }
            return runRewritingOutput(
                *program, command.arguments, name,
                [&](std::string_view text) { return gnuLineMarkers(text, *directory); });
        }
        if (command.preprocessing)
            return runRewritingOutput(*program, command.arguments, name, clLineDirectives);
        if (environmentValue(userHeaderNotesVariable) == "user")
            askForUserHeaderNotes(command.arguments);
        // Include notes ("/showIncludes") pass through as clang-cl writes them: names of files
        // that exist here, which zarn, ninja and compiler caches read as they are.
        return runTool(*program, command.arguments, name);
    }
    case Adapter::linker:
        if (!offerRuntime(name, {false, false, true}))
            return 1;
        return runTool(*program, lldLinkArguments(arguments), name);
    case Adapter::librarian:
        return runTool(*program, llvmLibArguments(arguments), name);
    case Adapter::resourceCompiler:
        return runResourceCompiler(*program, arguments, name);
    case Adapter::resourceConverter:
        return runTool(*program, cvtresArguments(arguments), name);
    }
    return 1;
}

} // namespace
} // namespace zarn::toolchain

int main(int argc, char** argv) {
    using namespace zarn::toolchain;
    const char* programName = argc > 0 ? argv[0] : "";
    std::optional<Adapter> adapter = adapterCalled(programName);
    if (!adapter && argc == 2 && std::string(argv[1]) == "--help") {
        std::fputs(helpText, stdout);
        return 0;
    }
    if (!adapter) {
        std::fprintf(
            stderr,
            "%s: call this program as cl.exe, link.exe or lib.exe (or rc.exe, cvtres.exe)\n",
            programName);
        return 1;
    }
    int status = 1;
    try {
        // zarn hands over a command line too long for the system as "@file".
        std::optional<std::vector<std::string>> arguments =
            expandResponseFiles(std::vector<std::string>(argv + 1, argv + argc),
                                llvmToolFor(*adapter).microsoftName.data());
        status = arguments ? runAdapter(*adapter, *arguments) : 1;
    } catch (const zarn::ProgramEnd& end) {
        status = end.status;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s: out of memory\n", programName);
    }
    zarn::finishAsStopped();
    return status;
}
