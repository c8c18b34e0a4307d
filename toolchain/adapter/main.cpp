// One program under three names: cl.exe, link.exe and lib.exe. Each turns the Microsoft-style
// command line zarn writes into one for the LLVM tool that does the same job on Linux.
#include "compiler_arguments.h"
#include "environment_paths.h"
#include "line_directives.h"
#include "linker_arguments.h"
#include "llvm_tools.h"
#include "response_files.h"
#include "run_tool.h"
#include "show_includes.h"

#include "host/program_end.h"

#include <cstdio>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace zarn::toolchain {
namespace {

std::optional<std::string> locate(const LlvmTool& tool) {
    std::optional<std::string> program = findLlvmTool(tool);
    if (!program)
        std::fputs(missingToolMessage(tool).c_str(), stderr);
    return program;
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
        // clang-cl finds lld-link where PATH does; saying so here beats clang's own message.
        if (command.linking && !locate(llvmToolFor(Adapter::linker)))
            return 1;
        if (command.preprocessing)
            return runRewritingOutput(*program, command.arguments, name, clLineDirectives);
        if (command.includeNotes)
            return runRewritingOutput(*program, command.arguments, name, clIncludeNotes);
        return runTool(*program, command.arguments, name);
    }
    case Adapter::linker:
        return runTool(*program, lldLinkArguments(arguments), name);
    case Adapter::librarian:
        return runTool(*program, llvmLibArguments(arguments), name);
    }
    return 1;
}

} // namespace
} // namespace zarn::toolchain

int main(int argc, char** argv) {
    using namespace zarn::toolchain;
    const char* programName = argc > 0 ? argv[0] : "";
    std::optional<Adapter> adapter = adapterCalled(programName);
    if (!adapter) {
        std::fprintf(stderr, "%s: call this program as cl.exe, link.exe or lib.exe\n", programName);
        return 1;
    }
    try {
        // zarn hands over a command line too long for the system as "@file".
        std::optional<std::vector<std::string>> arguments =
            expandResponseFiles(std::vector<std::string>(argv + 1, argv + argc),
                                llvmToolFor(*adapter).microsoftName.data());
        return arguments ? runAdapter(*adapter, *arguments) : 1;
    } catch (const zarn::ProgramEnd& end) {
        return end.status;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s: out of memory\n", programName);
        return 1;
    }
}
