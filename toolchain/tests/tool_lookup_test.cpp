// Which adapter a name asks for, which LLVM tool it looks for, and the search-path variables.
#include "environment_paths.h"
#include "llvm_tools.h"

#include <gtest/gtest.h>

namespace zarn::toolchain {
namespace {

TEST(ToolLookup, AdapterFromProgramName) {
    struct Row {
        const char* name;
        std::optional<Adapter> adapter;
    } rows[] = {
        {"cl.exe", Adapter::compiler},
        {"/usr/libexec/zarn/link.exe", Adapter::linker},
        {"build/toolchain/lib.exe", Adapter::librarian},
        {"CL.EXE", std::nullopt},
        {"cl", Adapter::compiler},
        {"/usr/libexec/zarn/link", Adapter::linker},
        {"lib", Adapter::librarian},
        {"rc.exe", Adapter::resourceCompiler},
        {"/usr/libexec/zarn/cvtres", Adapter::resourceConverter},
        {".exe", std::nullopt},
        {"cl.exe.exe", std::nullopt},
        {"zarn-llvm-adapter", std::nullopt},
        {"/x/cl.exe/", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(adapterCalled(row.name), row.adapter) << row.name;
}

TEST(ToolLookup, MissingToolNamesItAndItsPackage) {
    struct Row {
        Adapter adapter;
        std::string message;
    } rows[] = {
        {Adapter::compiler, "cl.exe: clang-cl is not installed (looked for clang-cl, "
                            "clang-cl-14 along PATH); install the Debian package clang-tools-14\n"},
        {Adapter::linker, "link.exe: lld-link is not installed (looked for lld-link, "
                          "lld-link-14 along PATH); install the Debian package lld\n"},
        {Adapter::librarian, "lib.exe: llvm-lib is not installed (looked for llvm-lib, "
                             "llvm-lib-14 along PATH); install the Debian package llvm\n"},
        {Adapter::resourceCompiler, "rc.exe: llvm-rc is not installed (looked for llvm-rc, "
                                    "llvm-rc-14 along PATH); install the Debian package llvm\n"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(missingToolMessage(llvmToolFor(row.adapter)), row.message);
}

TEST(ToolLookup, SearchPathEntriesBecomePosix) {
    struct Row {
        std::string windows;
        std::string posix;
    } rows[] = {
        {"", ""},
        {"Z:\\w\\lib dir", "/w/lib dir"},
        {"C:\\VC\\lib;Z:\\w;out\\libs", "/cygdrive/c/VC/lib;/w;out/libs"},
        {"/usr/lib;;Z:\\x;", "/usr/lib;;/x;"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(posixSearchPath(row.windows), row.posix) << row.windows;
}

} // namespace
} // namespace zarn::toolchain
