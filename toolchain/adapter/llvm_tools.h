// Which LLVM program stands behind each Microsoft tool name, and where it is.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn::toolchain {

enum class Adapter { compiler, linker, librarian, resourceCompiler, resourceConverter };

struct LlvmTool {
    std::string_view microsoftName;           // "cl.exe"
    std::vector<std::string_view> candidates; // program names looked for along PATH, in order
    std::string_view debianPackage;           // what provides the last candidate
};

// The adapter a program name (argv[0], any directory) asks for; nothing for an unknown name.
std::optional<Adapter> adapterCalled(std::string_view programName);

const LlvmTool& llvmToolFor(Adapter adapter);

// The first candidate found as an executable file along PATH.
std::optional<std::string> findLlvmTool(const LlvmTool& tool);

// "cl.exe: clang-cl is not installed (looked for clang-cl, clang-cl-14 along PATH); install the
// Debian package clang-tools-14\n"
std::string missingToolMessage(const LlvmTool& tool);

} // namespace zarn::toolchain
