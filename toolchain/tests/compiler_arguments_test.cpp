// What clang-cl receives for each kind of cl.exe argument zarn writes.
#include "compiler_arguments.h"

#include <gtest/gtest.h>

namespace zarn::toolchain {
namespace {

using Words = std::vector<std::string>;

TEST(CompilerArguments, RewritesForClangCl) {
    struct Row {
        const char* why;
        Words cl;
        Words clangCl;
    } rows[] = {
        {"file names in path options and inputs become POSIX names; /D values stay",
         {"/c", "/FoZ:\\w\\a.obj", "/FdZ:\\w\\a.pdb", "/DDIR=Z:\\w", "/IZ:\\w\\inc dir",
          "/Iinc\\sub", "/TcZ:\\w\\a.c", "/Tpsrc\\b.cpp", "inc\\x.h", "Z:\\w\\o.obj"},
         {"/c", "/Fo/w/a.obj", "/Fd/w/a.pdb", "/DDIR=Z:\\w", "/I/w/inc dir", "/Iinc/sub",
          "/Tc/w/a.c", "/Tpsrc/b.cpp", "--", "inc/x.h", "/w/o.obj"}},
        {"names zarn passes on as written keep their POSIX form",
         {"/c", "/Fo/opt/x/a.obj", "/Tc/work/a.c"},
         {"/c", "/Fo/opt/x/a.obj", "/Tc/work/a.c"}},
        {"inputs follow \"--\" after every option, whatever their order",
         {"Z:\\opt\\a.obj", "/c", "/work.obj"},
         {"/c", "/work.obj", "--", "/opt/a.obj"}},
        {"processor tuning is dropped, old runtimes map to their successors",
         {"/c", "/G3", "/G4", "/G5", "/G6", "/G7", "/ML", "/MLd", "/MT", "/MDd"},
         {"/c", "/G7", "/MT", "/MTd", "/MT", "/MDd"}},
        {"options that look like path options but differ in case pass unchanged",
         {"/c", "/fo\\x", "/i\\x", "/TC", "/TP"},
         {"/c", "/fo\\x", "/i\\x", "/TC", "/TP"}},
        {"a link through the compiler uses lld",
         {"/FeZ:\\w\\app.exe", "/Tca.c", "Z:\\w\\m.lib"},
         {"/Fe/w/app.exe", "/Tca.c", "-fuse-ld=lld", "--", "/w/m.lib"}},
        {"preprocessing writes #line directives and does not link",
         {"/E", "/c", "/Foa.obj", "/Tca.c"},
         {"/E", "/c", "/Foa.obj", "/Tca.c", "/clang:-fuse-line-directives"}},
        {"gcc mode's preprocessing keeps clang's line markers",
         {"/E", "/D__ZARN_GCC__", "/Tca.c"},
         {"/E", "/D__ZARN_GCC__", "/Tca.c"}},
        {"preprocessing without /c does not link either",
         {"/E", "/Tca.c"},
         {"/E", "/Tca.c", "/clang:-fuse-line-directives"}},
        {"other ways of stopping before the link",
         {"/EP", "/P", "/Zs", "/Tca.c"},
         {"/EP", "/P", "/Zs", "/Tca.c"}},
        {"a value given as the next argument is read as cl.exe reads it",
         {"/c", "/I", "Z:\\w\\inc", "/D", "X", "/Tc", "a.c"},
         {"/c", "/I", "/w/inc", "/D", "X", "/Tc", "a.c"}},
        {"the C standards define __STDC__, as cl.exe 17.2 does",
         {"/c", "/std:c11", "/Tca.c"},
         {"/c", "/std:c11", "/D__STDC__=1", "/Tca.c"}},
        {"the linker's options reach lld-link through clang-cl, before the inputs",
         {"/Fea.dll", "/LD", "a.obj", "/link", "/DEF:Z:\\w\\a.def", "/NOENTRY"},
         {"/Fea.dll", "/LD", "/clang:-Xlinker", "/clang:/DEF:/w/a.def", "/clang:-Xlinker",
          "/clang:/NOENTRY", "-fuse-ld=lld", "--", "a.obj"}},
        {"cl.exe alone shows what compiler it is", {}, {"--version"}},
        {"external include directories are paths too, joined or not",
         {"/c", "/external:IZ:\\w\\sys", "/external:I", "Z:\\w\\s2", "/Tca.c"},
         {"/c", "/external:I/w/sys", "/external:I", "/w/s2", "/Tca.c"}},
        {"preprocessed sources are compiled as they are, not preprocessed again",
         {"/c", "/TcZ:\\w\\a.i", "/Tp", "b.ii", "/Tpc.i"},
         {"/c", "/Tpc.i", "--", "/w/a.i", "b.ii"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(clangClCommand(row.cl).arguments, row.clangCl) << row.why;
}

// cl.exe refuses a command line without a file to compile or link; clang-cl only warned.
// zarn's gcc mode is told by its define; an undeclared name is an error, as with cl.exe.
TEST(CompilerArguments, GccModeAndFidelity) {
    struct Row {
        Words cl;
        bool gccMode;
    } rows[] = {
        {{"/c", "/D__ZARN_GCC__", "/Tca.c"}, true},
        {{"-c", "-D__ZARN_GCC__", "/Tca.c"}, true}, // through a launcher
        {{"/c", "/D__ZARN_GCC__=1", "/Tca.c"}, true},
        {{"/c", "/D__ZARN_GCC__X", "/Tca.c"}, false},
        {{"/c", "/Tca.c"}, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(clangClCommand(row.cl).gccMode, row.gccMode) << row.cl[1];
    EXPECT_EQ(clangClFidelityOptions(), Words{"/clang:-Werror=implicit-function-declaration"});
}

TEST(CompilerArguments, MissingSource) {
    struct Row {
        Words cl;
        bool missing;
    } rows[] = {
        {{"/c", "/I", "/Tca.c", "/usr/include"}, true},
        {{"/c", "/Tc", "a.c"}, false},
        {{"/c", "/Tpa.cpp"}, false},
        {{"/Feapp.exe", "a.obj"}, false},
        {{"/?"}, false},
        {{"/E", "/proc/self/exe"}, false}, // a file named as clang-cl takes it
    };
    for (const Row& row : rows)
        EXPECT_EQ(clangClCommand(row.cl).missingSource, row.missing)
            << ::testing::PrintToString(row.cl);
}

TEST(CompilerArguments, SaysWhetherItPreprocessesOrLinks) {
    struct Row {
        Words cl;
        bool preprocessing;
        bool linking;
    } rows[] = {
        {{"/c", "/Tca.c"}, false, false}, {{"/E", "/c", "/Tca.c"}, true, false},
        {{"/E", "/Tca.c"}, true, false},  {{"/Tca.c", "a.obj"}, false, true},
        {{"/DE", "/Tca.c"}, false, true}, {{}, false, false},
    };
    for (const Row& row : rows) {
        ClangClCommand command = clangClCommand(row.cl);
        std::string line = ::testing::PrintToString(row.cl);
        EXPECT_EQ(command.preprocessing, row.preprocessing) << line;
        EXPECT_EQ(command.linking, row.linking) << line;
    }
}

TEST(CompilerArguments, SaysWhetherTheSourceIsCxx) {
    struct Row {
        const char* why;
        Words cl;
        bool cxx;
    } rows[] = {
        {"zarn's C source", {"/c", "/Tca.c"}, false},
        {"zarn's C++ source", {"/c", "/Tpa.cpp"}, true},
        {"every source as C++", {"/c", "/TP", "a.c"}, true},
        {"C++ by the file's ending", {"/c", "a.cc", "b.cxx"}, true},
        {"every source as C, whatever its ending", {"/c", "/TC", "a.cpp"}, false},
        {"a library and an object are no sources", {"a.obj", "b.lib"}, false},
        {"a /D value that ends like C++ is no source", {"/c", "/DNAME=x.cpp", "/Tca.c"}, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(clangClCommand(row.cl).cxx, row.cxx) << row.why;
}

// Preprocessed text needs no header directories; with any other input it does.
TEST(CompilerArguments, PreprocessedSourcesOnly) {
    struct Row {
        Words cl;
        bool only;
    } rows[] = {
        {{"/c", "/Tca.i"}, true},
        {{"/c", "/Tp", "a.ii"}, true},
        {{"/c", "/Tca.i", "/Tcb.c"}, false},
        {{"/Tca.i", "m.obj"}, false},
        {{"/c", "/Tca.c"}, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(clangClCommand(row.cl).preprocessedOnly, row.only)
            << ::testing::PrintToString(row.cl);
}

// Asked by zarn for the notes of the user's headers alone, in either spelling of the option.
TEST(CompilerArguments, UserHeaderNotes) {
    Words arguments{"/c", "/showIncludes", "-showIncludes", "/showIncludesX", "/Tca.c"};
    askForUserHeaderNotes(arguments);
    EXPECT_EQ(arguments, (Words{"/c", "/showIncludes:user", "-showIncludes:user", "/showIncludesX",
                                "/Tca.c"}));
}

} // namespace
} // namespace zarn::toolchain
