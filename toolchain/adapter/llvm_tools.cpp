#include "llvm_tools.h"

#include "program_search.h"

#include "host/text.h"

namespace zarn::toolchain {

namespace {

// Debian installs the unversioned names only for its default LLVM, and clang-cl only versioned.
const LlvmTool tools[] = {
    {"cl.exe", {"clang-cl", "clang-cl-14"}, "clang-tools-14"},
    {"link.exe", {"lld-link", "lld-link-14"}, "lld"},
    {"lib.exe", {"llvm-lib", "llvm-lib-14"}, "llvm"},
    {"rc.exe", {"llvm-rc", "llvm-rc-14"}, "llvm"},
    {"cvtres.exe", {"llvm-cvtres", "llvm-cvtres-14"}, "llvm"},
};

} // namespace

std::optional<Adapter> adapterCalled(std::string_view programName) {
    std::size_t slash = programName.rfind('/');
    std::string_view base =
        slash == std::string_view::npos ? programName : programName.substr(slash + 1);
    // Build scripts written for Windows call the tools with or without ".exe" (libtool runs
    // "lib -OUT:…").
    if (endsWith(base, ".exe"))
        base.remove_suffix(4);
    if (base == "cl")
        return Adapter::compiler;
    if (base == "link")
        return Adapter::linker;
    if (base == "lib")
        return Adapter::librarian;
    if (base == "rc")
        return Adapter::resourceCompiler;
    if (base == "cvtres")
        return Adapter::resourceConverter;
    return std::nullopt;
}

const LlvmTool& llvmToolFor(Adapter adapter) {
    return tools[static_cast<int>(adapter)];
}

std::optional<std::string> findLlvmTool(const LlvmTool& tool) {
    for (std::string_view candidate : tool.candidates) {
        if (std::optional<std::string> found = findProgram(candidate))
            return found;
    }
    return std::nullopt;
}

std::string missingToolMessage(const LlvmTool& tool) {
    std::string message(tool.microsoftName);
    message += ": ";
    message += tool.candidates.front();
    message += " is not installed (looked for ";
    for (std::size_t i = 0; i < tool.candidates.size(); ++i) {
        if (i > 0)
            message += ", ";
        message += tool.candidates[i];
    }
    message += " along PATH); install the Debian package ";
    message += tool.debianPackage;
    message += '\n';
    return message;
}

} // namespace zarn::toolchain
