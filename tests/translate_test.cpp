#include "driver/classify.h"
#include "host/diagnostics.h"
#include "host/environment.h"
#include "host/program_end.h"
#include "link/list_file.h"
#include "support.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace zarn {
namespace {

struct Translation {
    std::string tool;
    std::string arguments;
    std::string lib;
};

// Classifies the arguments and builds the current record's argument text, as a run does.
Translation translate(const std::vector<std::string>& arguments) {
    test::ArgumentVector args(arguments);
    CompilerArgs compiler;
    LinkerArgs linker;
    Tool& current = classifyArguments(args.argc(), args.argv(), compiler, linker);
    test::ScopedEnvironment noLib("LIB", std::nullopt);
    Translation result{current.toolName(), current.buildArguments(), ""};
    result.lib = environmentValue("LIB").value_or("<unset>");
    return result;
}

struct Row {
    std::vector<std::string> arguments;
    std::string tool;
    std::string text;
};

void expectRows(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        std::string joined;
        for (const std::string& argument : row.arguments)
            joined += "'" + argument + "' ";
        Translation translation = translate(row.arguments);
        EXPECT_EQ(translation.tool, row.tool) << joined;
        EXPECT_EQ(translation.arguments, row.text) << joined;
    }
}

// The compiler's pieces, in their fixed order whatever the command-line order.
TEST(Translate, CompilerCommandLine) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    expectRows({
        {{"a.c"}, "cl.exe", " /Tca.c"},
        {{"-c", "-o", "x.obj", "a.c"}, "cl.exe", " /c /Fox.obj /Tca.c"},
        {{"-o", "x.exe", "a.c"}, "cl.exe", " /Fex.exe /Tca.c"},
        {{"-O0", "a.c"}, "cl.exe", " /Ogityb2 /Gs /Tca.c"},
        {{"-O", "a.c"}, "cl.exe", " /Ogityb2 /Gs /Tca.c"},
        {{"-O9", "a.c"}, "cl.exe", " /Ogityb2 /Gs /Tca.c"},
        {{"b.cpp", "x.h", "a.c", "c.cc"}, "cl.exe", " /Tca.c /Tpb.cpp /Tpc.cc x.h"},
        {{"/W3", "z.obj", "/MD", "-lm", "-c", "-mpentium", "-g", "-O2", "-E", "-DB", "-Iinc",
          "/Fdp.pdb", "-o", "o.obj", "-DA=1", "b.cpp", "a.c", "x.h"},
         "cl.exe",
         " /E /c /Ogityb2 /Gs /G5 /Zi /Foo.obj /Fdp.pdb /DB /DA=1 /Iinc /Tca.c /Tpb.cpp x.h /MD "
         "z.obj m.lib /W3"},
        {{"-c", "/tmp/a.c", "src/b.cc", "inc/x.h"},
         "cl.exe",
         " /c /TcZ:\\tmp\\a.c /Tpsrc\\b.cc inc\\x.h"},
        {{"-c", "-o", "/tmp/a.o", "/Fd/tmp/a.pdb", "a.c"},
         "cl.exe",
         " /c /Fo/tmp/a.o /Fd/tmp/a.pdb /Tca.c"},
        {{"-I/usr/include", "a.c"}, "cl.exe", " /IZ:\\usr\\include /Tca.c"},
        {{"a.o", "b.o", "-o", "prog.exe"}, "cl.exe", " /Feprog.exe a.o b.o"},
        {{"-MD", "-MT", "t", "-MF", "t.d", "-MP", "a.c"}, "cl.exe", " /Tca.c"},
    });
}

std::vector<std::string> gcc(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "--zarngcc");
    return arguments;
}

// The command lines gcc mode refuses end the program with status 1 and zarn's message.
void expectRefused(const std::vector<std::vector<std::string>>& rows) {
    for (const std::vector<std::string>& arguments : rows) {
        test::Ending ending = test::runToEnd([&] { translate(arguments); });
        EXPECT_EQ(ending.status, 1) << arguments[1];
        EXPECT_NE(ending.err.find("zarn ERROR: "), std::string::npos) << ending.err;
    }
}

// gcc mode: what gcc-style builds send, in the tools' words.
TEST(Translate, GccMode) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    test::makeDirectory("lib");
    test::writeFile("lib/libcalc.a", "");
    test::writeFile("lib/libz.lib", "");
    test::writeFile("lib/libw.dll.a", "");
    expectRows({
        {gcc({"-c", "-I", "inc", "-D", "A=1", "-U", "B", "-include", "cfg.h", "-isystem", "/sys",
              "a.c"}),
         "cl.exe", " /c /Foa.o /D__ZARN_GCC__ /DA=1 /UB /Iinc /external:IZ:\\sys /FIcfg.h /Tca.c"},
        {gcc({"-c", "-DX=y.c", "-DEBUG", "a.c"}), "cl.exe",
         " /c /Foa.o /D__ZARN_GCC__ /DX=y.c /DEBUG /Tca.c"},
        {gcc({"-c", "-std=gnu99", "-Wall", "-Wextra", "-Werror", "-Wshadow", "-fPIC", "a.c"}),
         "cl.exe", " /c /Foa.o /std:c11 /W4 /WX /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-std=c89", "-w", "a.c"}), "cl.exe", " /c /Foa.o /w /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-std=c++11", "-std=gnu17", "a.cc", "b.c"}), "cl.exe",
         " /c /std:c17 /std:c++14 /EHs /D__ZARN_GCC__ /Tcb.c /Tpa.cc"},
        {gcc({"-c", "-fno-exceptions", "-fno-rtti", "a.cpp"}), "cl.exe",
         " /c /Foa.o /GR- /D__ZARN_GCC__ /Tpa.cpp"},
        {gcc({"-c", "/EHa", "a.cpp"}), "cl.exe", " /c /Foa.o /D__ZARN_GCC__ /Tpa.cpp /EHa"},
        {gcc({"-c", "-O0", "a.c"}), "cl.exe", " /c /Foa.o /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-O2", "-Os", "a.c"}), "cl.exe", " /c /O1 /Foa.o /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-Os", "-O3", "-g3", "a.c"}), "cl.exe",
         " /c /Ogityb2 /Gs /Z7 /Foa.o /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-g", "-g0", "a.c"}), "cl.exe", " /c /Foa.o /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-x", "c++", "a.c", "-x", "none", "b.c", "-xc", "t.inc"}), "cl.exe",
         " /c /EHs /D__ZARN_GCC__ /Tcb.c /Tct.inc /Tpa.c"},
        {gcc({"-o", "app", "m.obj", "lib/libcalc.a", "-Llib", "-lz", "-l", "w", "-lm"}), "cl.exe",
         " /Feapp m.obj lib\\libcalc.a lib\\libz.lib lib\\libw.dll.a m.lib /link /STACK:2097152"},
        {gcc({"-shared", "-o", "g.dll", "g.c", "g.def", "-Wl,--out-implib,libg.dll.a,-s",
              "-Xlinker", "-e", "-Xlinker", "start", "-Wl,/NOENTRY,-rpath,/x"}),
         "cl.exe",
         " /Feg.dll /LD /D__ZARN_GCC__ /Tcg.c /link /DEF:g.def /IMPLIB:libg.dll.a /ENTRY:start "
         "/NOENTRY /STACK:2097152"},
        {gcc({"-shared", "-o", "g.dll", "g.obj", "-link", "-Wl,--subsystem=windows"}), "link.exe",
         " /dll /OUT:g.dll /INCREMENTAL:NO g.obj /SUBSYSTEM:windows /STACK:2097152"},
        {gcc({"-c", "-shared", "-Wl,-s", "g.c"}), "cl.exe", " /c /Fog.o /D__ZARN_GCC__ /Tcg.c"},
        {gcc({"-o", "g.exe", "g.obj", "-Wl,", "-Wl,,/NOENTRY,"}), "cl.exe",
         " /Feg.exe g.obj /link /NOENTRY /STACK:2097152"},
        {gcc({"-E", "-o", "a.i", "a.c"}), "cl.exe", " /E /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-MD", "-MT", "t", "-c", "a.c"}), "cl.exe", " /c /Foa.o /D__ZARN_GCC__ /Tca.c"},
    });
    expectRefused({gcc({"-x", "assembler", "a.s"}), gcc({"-Wp,-DX", "a.c"}), gcc({"-std=c2x"}),
                   gcc({"-M", "a.c"}), gcc({"-Wl,-rpath"}), gcc({"-MD", "a.c", "b.c"})});
}

// gcc applies its options in order: macros one after the other, and of the flags that have
// a negative form the last one given.
TEST(Translate, GccModeOrder) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    expectRows({
        // Debian's hardening flags: defined in the end.
        {gcc({"-E", "-U_FORTIFY_SOURCE", "-D_FORTIFY_SOURCE=2", "-UX", "-DX=1", "a.c"}), "cl.exe",
         " /E /D__ZARN_GCC__ /U_FORTIFY_SOURCE /D_FORTIFY_SOURCE=2 /UX /DX=1 /Tca.c"},
        {gcc({"-c", "-DX", "-UX", "a.c"}), "cl.exe", " /c /Foa.o /D__ZARN_GCC__ /DX /UX /Tca.c"},
        {gcc({"-c", "-funsigned-char", "-fsigned-char", "a.c"}), "cl.exe",
         " /c /Foa.o /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-fsigned-char", "-funsigned-char", "a.c"}), "cl.exe",
         " /c /Foa.o /J /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-ffast-math", "-fno-fast-math", "a.c"}), "cl.exe",
         " /c /Foa.o /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-fno-rtti", "-frtti", "-fno-omit-frame-pointer", "-fomit-frame-pointer",
              "a.cpp"}),
         "cl.exe", " /c /Foa.o /GR /Oy /EHs /D__ZARN_GCC__ /Tpa.cpp"},
        {gcc({"-c", "-fstack-protector-strong", "-fno-stack-protector", "a.c"}), "cl.exe",
         " /c /Foa.o /GS- /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-Werror", "-Wno-error", "-ffunction-sections", "-fno-function-sections",
              "a.c"}),
         "cl.exe", " /c /Foa.o /WX- /Gy- /D__ZARN_GCC__ /Tca.c"},
        // Warning levels add up in gcc; "-w" silences all of them, wherever it stands.
        {gcc({"-c", "-Wextra", "-Wall", "a.c"}), "cl.exe", " /c /Foa.o /W4 /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-w", "-Wall", "a.c"}), "cl.exe", " /c /Foa.o /w /D__ZARN_GCC__ /Tca.c"},
        // Exceptions that may pass through extern "C" functions, as gcc's do.
        {gcc({"-c", "-fno-exceptions", "-fexceptions", "a.cc"}), "cl.exe",
         " /c /Foa.o /EHs /D__ZARN_GCC__ /Tpa.cc"},
    });
}

// Processor options: the nearest "/arch:" that asks for no more than they do; a 32-bit target
// refused.
TEST(Translate, GccModeProcessors) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    expectRows({
        {gcc({"-c", "-mavx2", "a.c"}), "cl.exe", " /c /Foa.o /arch:AVX2 /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-march=haswell", "-mtune=generic", "a.c"}), "cl.exe",
         " /c /Foa.o /arch:AVX2 /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-mfma", "a.c"}), "cl.exe", " /c /Foa.o /arch:AVX /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-mavx512f", "-mno-avx512f", "a.c"}), "cl.exe",
         " /c /Foa.o /arch:AVX2 /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-mno-avx", "-march=x86-64-v4", "a.c"}), "cl.exe",
         " /c /Foa.o /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-msse4.2", "-maes", "-m64", "a.c"}), "cl.exe",
         " /c /Foa.o /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-mpentium", "a.c"}), "cl.exe", " /c /G5 /Foa.o /D__ZARN_GCC__ /Tca.c"},
    });
    expectRefused({gcc({"-c", "-m32", "a.c"}), gcc({"-c", "-march=nosuchcpu", "a.c"})});
}

// Libraries as GNU ld finds them: every "-L" for every "-l", in the order given, then LIB's
// directories; the working directory only when named; "-static" takes archives.
TEST(Translate, GccModeLibraries) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    for (const char* dir : {"L1", "L2", "sdk"})
        test::makeDirectory(dir);
    for (const char* file : {"L1/libw.a", "L2/libw.a", "libw.a", "L2/libfoo.dll.a", "L2/libfoo.a",
                             "L2/foo.lib", "sdk/libz.a", "L1/reg.lib"})
        test::writeFile(file, "");
    expectRows({
        {gcc({"m.obj", "-LL1", "-LL2", "-lw"}), "cl.exe", " m.obj L1\\libw.a /link /STACK:2097152"},
        {gcc({"m.obj", "-lw", "-LL2"}), "cl.exe", " m.obj L2\\libw.a /link /STACK:2097152"},
        {gcc({"m.obj", "-lw"}), "cl.exe", " m.obj w.lib /link /STACK:2097152"},
        {gcc({"m.obj", "-L.", "-lw"}), "cl.exe", " m.obj .\\libw.a /link /STACK:2097152"},
        {gcc({"m.obj", "-LL2", "-lfoo"}), "cl.exe", " m.obj L2\\libfoo.dll.a /link /STACK:2097152"},
        {gcc({"m.obj", "-LL2", "-lfoo", "-static"}), "cl.exe",
         " m.obj L2\\libfoo.a /link /STACK:2097152"},
        {gcc({"m.obj", "-LL2", "-Wl,-Bstatic", "-lfoo", "-Wl,-Bdynamic", "-lfoo"}), "cl.exe",
         " m.obj L2\\libfoo.a L2\\libfoo.dll.a /link /STACK:2097152"},
        {gcc({"m.obj", "-LL2", "-l:foo.lib", "-lpthread"}), "cl.exe",
         " m.obj L2\\foo.lib pthread.lib /link /STACK:2097152"},
        {gcc({"-o", "m.exe", "m.cpp", "-LL1", "-Wl,--whole-archive", "libw.a", "-lreg",
              "-Wl,--no-whole-archive", "-lw"}),
         "cl.exe",
         " /Fem.exe /EHs /D__ZARN_GCC__ /Tpm.cpp L1\\libw.a /link /WHOLEARCHIVE:libw.a "
         "/WHOLEARCHIVE:L1\\reg.lib /STACK:2097152"},
        {gcc({"m.obj", "-Wl,--whole-archive,libw.a,--no-whole-archive,L2/libw.a"}), "cl.exe",
         " m.obj /link /WHOLEARCHIVE:libw.a L2\\libw.a /STACK:2097152"},
        {gcc({"m.obj", "-Wl,--allow-multiple-definition,-z,muldefs", "-link"}), "link.exe",
         " /INCREMENTAL:NO m.obj /FORCE:MULTIPLE /FORCE:MULTIPLE /STACK:2097152"},
    });
    test::StartupLib sdk(std::string("sdk"));
    expectRows({{gcc({"m.obj", "-lz", "-lkernel32"}), "cl.exe",
                 " m.obj sdk\\libz.a kernel32.lib /link /STACK:2097152"}});
}

// The spellings gcc accepts for what the table already has, and the files it knows beside the
// table's.
TEST(Translate, GccModeSpellings) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    expectRows({
        {gcc({"-c", "--std=c99", "-O4", "-pie", "a.c"}), "cl.exe",
         " /c /Ogityb2 /Gs /Foa.o /std:c11 /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-O10", "a.c"}), "cl.exe", " /c /Ogityb2 /Gs /Foa.o /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-E", "-P", "a.c"}), "cl.exe", " /EP /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-E", "-o", "-", "a.c"}), "cl.exe", " /E /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "a.C", "b.cp", "c.CPP", "d.CXX", "e.ii", "f.i"}), "cl.exe",
         " /c /EHs /D__ZARN_GCC__ /Tcf.i /Tpa.C /Tpb.cp /Tpc.CPP /Tpd.CXX /Tpe.ii"},
        // An absolute name after "-x" is a file, not a Microsoft option.
        {gcc({"-c", "-x", "c", "/abs/dir/code.inc", "-o", "x.o"}), "cl.exe",
         " /c /Fox.o /D__ZARN_GCC__ /TcZ:\\abs\\dir\\code.inc"},
        // A directory given both ways is a system one, as gcc searches it; "-iquote" first.
        {gcc({"-c", "-Iinc", "-isystem", "inc", "-iquote", "q", "-Iother", "a.c"}), "cl.exe",
         " /c /Foa.o /D__ZARN_GCC__ /Iq /Iother /external:Iinc /Tca.c"},
    });
    expectRefused({gcc({"-E", "a.c", "b.c", "-o", "x.i"}), gcc({"-c", "a.c", "b.c", "-o", "x.o"}),
                   gcc({"-c", "-I", "", "a.c", "b.c"}), gcc({"-c", "-isystem", "", "a.c"}),
                   gcc({"-c", "-D", "", "a.c"}), gcc({"-c", "-fsanitize=undefined", "a.c"}),
                   gcc({"-x", "c", "-v", "-c", "/dev/null", "-o", "/dev/null"})});
}

// gcc's object names: "SOURCE.o" in the working directory for "-c" without "-o".
TEST(Translate, GccModeObjectNames) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    expectRows({
        {gcc({"-c", "src/a.c"}), "cl.exe", " /c /Foa.o /D__ZARN_GCC__ /Tcsrc\\a.c"},
        {gcc({"-c", "-x", "c", "code", "-g"}), "cl.exe",
         " /c /Z7 /Focode.o /D__ZARN_GCC__ /Tccode"},
        {gcc({"-c", "b.tar.cc", "-o", "x.obj"}), "cl.exe",
         " /c /Fox.obj /EHs /D__ZARN_GCC__ /Tpb.tar.cc"},
        // Several sources are compiled one at a time; "-E" writes no object.
        {gcc({"-c", "a.c", "b.c"}), "cl.exe", " /c /D__ZARN_GCC__ /Tca.c /Tcb.c"},
        {gcc({"-E", "-c", "a.c"}), "cl.exe", " /E /c /D__ZARN_GCC__ /Tca.c"},
    });
    // One "-MF" file for the rules of several objects.
    expectRefused({gcc({"-c", "-MD", "-MT", "t", "-MF", "t.d", "a.c", "b.c"})});
}

// GNU ld's stack for a program unless the build names one; the linker's long options bare, as
// libtool passes them.
TEST(Translate, GccModeLinkerDefaults) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    expectRows({
        {gcc({"a.c"}), "cl.exe", " /D__ZARN_GCC__ /Tca.c /link /STACK:2097152"},
        {gcc({"a.o", "-link"}), "link.exe", " /INCREMENTAL:NO a.o /STACK:2097152"},
        {gcc({"a.o", "-Wl,--stack,4194304"}), "cl.exe", " a.o /link /STACK:4194304"},
        {gcc({"a.o", "-link", "/STACK:65536"}), "link.exe", " /INCREMENTAL:NO a.o /STACK:65536"},
        {gcc({"a.o", "-lib", "-o", "a.lib"}), "lib.exe", " /OUT:a.lib a.o"},
        {gcc({"-fsyntax-only", "a.c"}), "cl.exe", " /Zs /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-o", "a.exe", "a.o", "--dynamicbase", "--nxcompat", "--high-entropy-va", "--tsaware",
              "--no-seh", "--enable-auto-image-base", "--stack", "8388608"}),
         "cl.exe",
         " /Fea.exe a.o /link /DYNAMICBASE /NXCOMPAT /HIGHENTROPYVA /TSAWARE /STACK:8388608"},
        {gcc({"a.o", "--disable-dynamicbase", "--heap=65536", "--whole-archive", "libw.a",
              "--no-whole-archive", "-link"}),
         "link.exe",
         " /INCREMENTAL:NO a.o /DYNAMICBASE:NO /HEAP:65536 /WHOLEARCHIVE:libw.a /STACK:2097152"},
    });
    expectRefused({gcc({"a.o", "--export-all-symbols"}), gcc({"a.o", "--nxcompat=1"}),
                   gcc({"a.o", "--stack"})});
}

// "-idirafter": after the system's headers, so at the end of INCLUDE, which the LLVM adapter
// is told of; built twice, the value is the same.
TEST(Translate, GccModeIncludeAfter) {
    test::ScratchDirectory scratch;
    test::ScopedEnvironment include("INCLUDE", std::string("C:\\sdk\\include"));
    test::ScopedEnvironment after("ZARN_INCLUDE_AFTER", std::nullopt);
    test::ArgumentVector args(gcc({"-c", "-idirafter", "after", "-idirafter/late", "a.c"}));
    CompilerArgs compiler;
    LinkerArgs linker;
    Tool& current = classifyArguments(args.argc(), args.argv(), compiler, linker);
    EXPECT_EQ(current.buildArguments(), current.buildArguments());
    EXPECT_EQ(environmentValue("INCLUDE"),
              std::optional<std::string>("C:\\sdk\\include;after;Z:\\late"));
    EXPECT_EQ(environmentValue("ZARN_INCLUDE_AFTER"), std::optional<std::string>("after;Z:\\late"));
}

// Without "--zarngcc" gcc's options are what zarn's own table makes of them.
TEST(Translate, GccOptionsWithoutGccMode) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    expectRows({
        {{"-c", "-O0", "a.c"}, "cl.exe", " /c /Ogityb2 /Gs /Tca.c"},
        {{"a.obj", "-DEBUG"}, "link.exe", " /DEBUG /INCREMENTAL:NO a.obj"},
        {{"-c", "-MT", "a", "-MT", "b", "a.c"}, "cl.exe", " /c /Tca.c"},
        {{"-c", "/DEF:x.def", "a.cpp"}, "cl.exe", " /c /DEF:x.def /Tpa.cpp"},
    });
    for (std::vector<std::string> arguments : {std::vector<std::string>{"-I", "inc", "a.c"},
                                               {"-c", "-I", "a.c", "b.c"},
                                               {"-c", "-D", "a.c", "b.c"},
                                               {"lib/libcalc.a"},
                                               {"-std=c99"},
                                               {"-Wall"},
                                               {"-fPIC"},
                                               {"-shared"},
                                               {"-Wl,-s"},
                                               {"-MMD"},
                                               {"--version"},
                                               {"a.o", "--nxcompat"},
                                               {"x.def"}}) {
        test::Ending ending = test::runToEnd([&] { translate(arguments); });
        EXPECT_EQ(ending.status, 1) << arguments[0];
    }
}

// Each piece is one word for the tool: blanks and quotes inside it are quoted, nothing else.
TEST(Translate, QuotingOfPieces) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    expectRows({
        {{"-c", "-o", "my dir\\x.obj", "a.c"}, "cl.exe", " /c \"/Fomy dir\\x.obj\" /Tca.c"},
        {{"-c", "my dir/a b.c"}, "cl.exe", " /c \"/Tcmy dir\\a b.c\""},
        {{"-DMSG=\"hi\"", "a.c"}, "cl.exe", " \"/DMSG=\\\"hi\\\"\" /Tca.c"},
        {{"-I/opt/my inc/", "a.c"}, "cl.exe", " \"/IZ:\\opt\\my inc\\\\\" /Tca.c"},
        {{"-link", "my dir/a.o", "-o", "my prog.exe"},
         "link.exe",
         " \"/OUT:my prog.exe\" /INCREMENTAL:NO \"my dir\\a.o\""},
        {{"-lib", "/OUT:a;b$c`d`.lib"}, "lib.exe", " /OUT:a;b$c`d`.lib"},
    });
}

// The linker's and librarian's pieces; "/INCREMENTAL:" is the linker's alone.
TEST(Translate, LinkerCommandLine) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    expectRows({
        {{"-link"}, "link.exe", " /INCREMENTAL:NO"},
        {{"/INCREMENTAL:YES"}, "link.exe", " /INCREMENTAL:YES"},
        {{"/INCREMENTAL:yes"}, "link.exe", " /INCREMENTAL:NO"},
        {{"-link", "-dll", "-o", "x.dll", "/PDB:x.pdb", "-g", "/RELEASE"},
         "link.exe",
         " /dll /OUT:x.dll /PDB:x.pdb /DEBUG /RELEASE /INCREMENTAL:NO"},
        {{"-lib", "-dll", "-o", "x.lib", "/PDB:x.pdb", "-g", "/RELEASE"},
         "lib.exe",
         " /dll /OUT:x.lib /PDB:x.pdb /DEBUG /RELEASE"},
        {{"a.o", "-lib", "-o", "liba.lib"}, "lib.exe", " /OUT:liba.lib a.o"},
        {{"/MT", "-link", "a.obj", "-lm", "/MACHINE:X86"},
         "link.exe",
         " /INCREMENTAL:NO /MT a.obj m.lib /MACHINE:X86"},
    });
}

// List files: each non-blank line is command-line text after the list file's directory.
TEST(Translate, ListFiles) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    test::makeDirectory("objs");
    test::makeDirectory("my dir");
    std::string longName(300, 'x');
    test::writeFile("objs/files.lst", "a.obj\nb.obj\n");
    test::writeFile("here.lst", "a.obj b.obj\r\nc.obj");
    test::writeFile("endings.lst", "a.obj\r\r\n\nb.obj\r\n\r\n  \t \nc.obj\r");
    test::writeFile("long.lst", longName + ".obj\n" + std::string(255, 'y') + ".obj\n");
    test::writeFile("empty.lst", "");
    test::writeFile("quoted.lst", "\"my file.obj\" other.obj\n");
    test::writeFile("my dir/f.lst", "a.obj\n");
    std::string windowsScratch = scratch.windowsPath();

    expectRows({
        {{"-o", "prog.exe", "-g", "objs/files.lst"},
         "link.exe",
         " /OUT:prog.exe /DEBUG /INCREMENTAL:NO objs/a.obj objs/b.obj"},
        {{"here.lst"}, "link.exe", " /INCREMENTAL:NO a.obj b.obj c.obj"},
        {{"endings.lst"}, "link.exe", " /INCREMENTAL:NO a.obj b.obj c.obj"},
        {{"long.lst"},
         "link.exe",
         " /INCREMENTAL:NO " + longName + ".obj " + std::string(255, 'y') + ".obj"},
        {{"empty.lst", "x.obj"}, "link.exe", " /INCREMENTAL:NO x.obj"},
        {{"quoted.lst"}, "link.exe", " /INCREMENTAL:NO \"my file.obj\" other.obj"},
        {{"my dir/f.lst"}, "link.exe", " /INCREMENTAL:NO \"my dir/\"a.obj"},
        {{scratch.posixPath() + "/objs/files.lst"},
         "link.exe",
         " /INCREMENTAL:NO " + windowsScratch + "\\objs/a.obj " + windowsScratch + "\\objs/b.obj"},
        {{"-lib", "here.lst", "objs/files.lst"},
         "lib.exe",
         " a.obj b.obj c.obj objs/a.obj objs/b.obj"},
    });
}

// Absolute entries, as generated list files hold them, get no directory in front; a POSIX one
// that names a file reaches the tool in Windows form, one that does not (an option) as written.
TEST(Translate, AbsoluteListEntries) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    test::makeDirectory("objs");
    test::makeDirectory("my dir");
    test::writeFile("objs/a.obj", "");
    test::writeFile("my dir/b c.obj", "");
    test::writeFile("objs/abs.lst", scratch.posixPath() + "/objs/a.obj\n" + scratch.posixPath() +
                                        "/my dir/b c.obj\n/no/such/x.obj\n/NODEFAULTLIB\n"
                                        "C:\\w\\x.obj\nc:y.obj\n\\w\\y.obj\nrel.obj\n");
    std::string windowsScratch = scratch.windowsPath();
    expectRows({
        {{"objs/abs.lst"},
         "link.exe",
         " /INCREMENTAL:NO " + windowsScratch + "\\objs\\a.obj \"" + windowsScratch +
             "\\my dir\\b c.obj\" /no/such/x.obj /NODEFAULTLIB C:\\w\\x.obj c:y.obj \\w\\y.obj "
             "objs/rel.obj"},
    });
}

// The prefix comes from the stored (Windows-form) name, as one word.
TEST(Translate, ListEntryPrefix) {
    struct Row {
        std::string listFile, prefix;
    } rows[] = {
        {"files.lst", ""},
        {"\\files.lst", ""},
        {"objs\\files.lst", "objs/"},
        {"C:\\work\\objs\\files.lst", "C:\\work\\objs/"},
        {"my dir\\f.lst", "\"my dir/\""},
    };
    for (Row& row : rows)
        EXPECT_EQ(listEntryPrefix(row.listFile), row.prefix) << row.listFile;
}

// A list file that cannot be read stops the run before any tool starts.
TEST(Translate, UnreadableListFile) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    test::writeFile("a.lst", "a.obj\n");
    test::makeDirectory("dir.lst");
    struct Row {
        std::vector<std::string> arguments;
        std::string err;
    };
    std::vector<Row> rows = {
        {{"a.lst", "b.lst"}, "Couldn't open file 'b.lst'!!\n"},
        {{"sub/missing.lst"}, "Couldn't open file 'sub\\missing.lst'!!\n"},
        {{"dir.lst"}, "Couldn't open file 'dir.lst'!!\n"},
    };
#ifndef _WIN32
    symlink("/dev/zero", "zero.lst");
    rows.push_back({{"zero.lst"}, "Couldn't open file 'zero.lst'!!\n"}); // a device never ends
#endif
    for (Row& row : rows) {
        test::Ending ending = test::runToEnd([&] { translate(row.arguments); });
        EXPECT_EQ(ending.err, row.err);
        EXPECT_EQ(ending.status, 1);
    }
}

// LIB is the start-up value followed by the library directories, set before every run.
TEST(Translate, LibComposition) {
    test::ScratchDirectory scratch;
    struct Row {
        std::optional<std::string> startup;
        std::vector<std::string> arguments;
        std::string lib;
    } rows[] = {
        {std::nullopt, {"a.c"}, ""},
        {std::string(""), {"-La", "a.c"}, "a"},
        {std::string("C:\\VC\\lib"),
         {"-L/usr/local/lib", "a.c"},
         "C:\\VC\\lib;Z:\\usr\\local\\lib"},
        {std::nullopt, {"-La", "-Lb", "-link"}, "a;b"},
        {std::string("C:\\VC\\lib;"), {"-Lx", "-lib"}, "C:\\VC\\lib;;x"},
        {std::string("C:\\VC\\lib;D:\\sdk"), {"a.c"}, "C:\\VC\\lib;D:\\sdk"},
        {std::nullopt, {"-lm", "-L/one", "-link"}, "Z:\\one"},
        {std::nullopt, {"-La", "-La", "-L", "-Lb"}, "a;a;;b"},
    };
    for (Row& row : rows) {
        test::StartupLib lib(row.startup);
        EXPECT_EQ(translate(row.arguments).lib, row.lib) << row.arguments[0];
    }
}

// The dependency pass and the final run build the same text and the same LIB, and a trace
// line shows each export.
TEST(Translate, RepeatedBuildIsStable) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::string("C:\\VC\\lib"));
    test::writeFile("f.lst", "a.obj\n");
    test::ArgumentVector args({"-Lx", "f.lst", "-o", "p.exe"});
    CompilerArgs compiler;
    LinkerArgs linker;
    Tool& current = classifyArguments(args.argc(), args.argv(), compiler, linker);
    traceEnabled = true;
    testing::internal::CaptureStdout();
    std::string first = current.buildArguments();
    std::string second = current.buildArguments();
    std::string trace = testing::internal::GetCapturedStdout();
    traceEnabled = false;
    EXPECT_EQ(first, " /OUT:p.exe /INCREMENTAL:NO a.obj");
    EXPECT_EQ(second, first);
    EXPECT_EQ(trace, "LIB=='C:\\VC\\lib;x'\nLIB=='C:\\VC\\lib;x'\n");
    EXPECT_EQ(environmentValue("LIB"), std::optional<std::string>("C:\\VC\\lib;x"));
}

} // namespace
} // namespace zarn
