// What lld-link and llvm-lib receive for each kind of argument zarn writes for link.exe and
// lib.exe, list-file entries included.
#include "linker_arguments.h"

#include <gtest/gtest.h>

namespace zarn::toolchain {
namespace {

using Words = std::vector<std::string>;

struct Row {
    const char* why;
    Words microsoft;
    Words llvm;
};

TEST(LinkerArguments, RewritesForLldLink) {
    Row rows[] = {
        {"file names in path options and inputs become POSIX names, in any case",
         {"/OUT:Z:\\w\\app.exe", "/pdb:Z:\\w\\app.pdb", "/LIBPATH:Z:\\w\\lib dir",
          "/DEF:src\\a.def", "/implib:Z:\\w\\a.lib", "/MAP:Z:\\w\\a.map", "Z:\\w\\a.obj",
          "obj\\b.obj", "Z:\\w\\lists/obj/c.obj", "kernel32.lib"},
         {"/OUT:/w/app.exe", "/pdb:/w/app.pdb", "/LIBPATH:/w/lib dir", "/DEF:src/a.def",
          "/implib:/w/a.lib", "/MAP:/w/a.map", "/w/a.obj", "obj/b.obj", "/w/lists/obj/c.obj",
          "kernel32.lib"}},
        {"options without a file name pass unchanged, /D-like values too",
         {"/dll", "/DEBUG", "/MAP", "/MAPINFO:EXPORTS", "/ENTRY:start", "/SUBSYSTEM:CONSOLE",
          "/NODEFAULTLIB", "/INCREMENTAL:NO"},
         {"/dll", "/DEBUG", "/MAP", "/MAPINFO:EXPORTS", "/ENTRY:start", "/SUBSYSTEM:CONSOLE",
          "/NODEFAULTLIB", "/INCREMENTAL:NO"}},
        {"/RELEASE is dropped and /INCREMENTAL:YES shortened, in any case",
         {"/RELEASE", "/release", "/INCREMENTAL:YES", "/incremental:yes", "a.obj"},
         {"/INCREMENTAL", "/incremental", "a.obj"}},
        {"the compiler's runtime choice is dropped, as link.exe ignores it",
         {"/MD", "/MT", "/ML", "/MDd", "/MTd", "/MLd", "a.obj"},
         {"a.obj"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(lldLinkArguments(row.microsoft), row.llvm) << row.why;
}

TEST(LinkerArguments, RewritesForLlvmLib) {
    Row rows[] = {
        {"the output and the inputs become POSIX names",
         {"/OUT:Z:\\w\\libcalc.lib", "/LIBPATH:Z:\\w", "Z:\\w\\a.obj", "obj\\b.obj"},
         {"/OUT:/w/libcalc.lib", "/LIBPATH:/w", "/w/a.obj", "obj/b.obj"}},
        {"linker options llvm-lib rejects are dropped, in any case",
         {"/DEBUG", "/debug:full", "/RELEASE", "/PDB:x.pdb", "/DLL", "/dll", "/INCREMENTAL",
          "/INCREMENTAL:NO", "/incremental:yes", "/MT", "/MDd", "a.obj"},
         {"a.obj"}},
        {"options it knows pass unchanged",
         {"/MACHINE:X64", "/llvmlibthin", "/DEBUGGER", "a.obj"},
         {"/MACHINE:X64", "/llvmlibthin", "/DEBUGGER", "a.obj"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(llvmLibArguments(row.microsoft), row.llvm) << row.why;
}

} // namespace
} // namespace zarn::toolchain
