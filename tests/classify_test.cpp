#include "driver/classify.h"
#include "host/diagnostics.h"
#include "host/program_end.h"
#include "support.h"

#include <gtest/gtest.h>

namespace zarn {
namespace {

using test::classifyToText;

struct Row {
    std::vector<std::string> arguments;
    std::string records; // describeRecords, or "exit <status>"
};

void expectRows(const std::vector<Row>& rows) {
    test::ScratchDirectory scratch; // no library file exists here
    for (const Row& row : rows) {
        std::string joined;
        for (const std::string& argument : row.arguments)
            joined += "'" + argument + "' ";
        EXPECT_EQ(classifyToText(row.arguments), row.records) << joined;
    }
}

// Files are recognised by their endings; sources and headers are kept as written, objects,
// libraries and list files are stored in Windows form.
TEST(Classify, FilesByEnding) {
    expectRows({
        {{}, "C: | L: | current=C"},
        {{"a.c", "b.cpp", "c.cxx", "d.c++", "e.cc", "f.h"},
         "C: cSources=[a.c] cppSources=[b.cpp,c.cxx,d.c++,e.cc] headers=[f.h] | L: | current=C"},
        {{"src/a.c"}, "C: cSources=[src/a.c] | L: | current=C"},
        {{"a.o", "b.o", "-o", "prog.exe"},
         "C: outputFile=prog.exe objectFiles=[a.o,b.o] | L: outputFile=prog.exe "
         "objectFiles=[a.o,b.o] | current=C"},
        {{"obj/a.obj", "obj/a.obj"},
         "C: objectFiles=[obj\\a.obj,obj\\a.obj] | L: objectFiles=[obj\\a.obj,obj\\a.obj] | "
         "current=C"},
        {{"/tmp/x.o"}, "C: objectFiles=[Z:\\tmp\\x.o] | L: objectFiles=[Z:\\tmp\\x.o] | current=C"},
        {{"x.lst"}, "C: | L: listFiles=[x.lst] | current=L"},
        {{"objs/files.lst"}, "C: | L: listFiles=[objs\\files.lst] | current=L"},
        {{"libs/x.lib"}, "C: libraries=[libs\\x.lib] | L: libraries=[libs\\x.lib] | current=C"},
        {{"foo.s"}, "exit 1"},
        {{"foo.C"}, "exit 1"},
        {{"foo"}, "exit 1"},
        {{"a.c", "-lib", "b.c"}, "C: cSources=[a.c,b.c] | L: buildLibrary | current=C"},
    });
}

// The order of the rules settles arguments that two rules could claim.
TEST(Classify, RuleOrder) {
    expectRows({
        {{"-lib"}, "C: | L: buildLibrary | current=L"},
        {{"-LIB"}, "C: | L: buildLibrary | current=L"},
        {{"-link"}, "C: | L: | current=L"},
        {{"-LINK"}, "C: | L: | current=L"},
        {{"-DLL"}, "C: | L: dll | current=L"},
        {{"/dll"}, "C: | L: dll | current=L"},
        {{"-libfoo"}, "C: libraries=[ibfoo.lib] | L: libraries=[ibfoo.lib] | current=C"},
        {{"-DEBUG"}, "C: | L: debugInfo | current=L"},
        {{"-Debug"}, "C: defines=[ebug] | L: | current=C"},
        {{"-INCREMENTAL:NO"}, "C: | L: | current=L"},
        {{"-Ifoo"}, "C: includeDirs=[foo] | L: | current=C"},
        {{"-OUT:x.c"}, "C: cSources=[-OUT:x.c] | L: | current=C"},
        {{"/OUT:prog.exe"}, "C: | L: outputFile=prog.exe | current=L"},
        {{"/Fox.obj"}, "C: objectFiles=[Z:\\Fox.obj] | L: objectFiles=[Z:\\Fox.obj] | current=C"},
        {{"-o", "-c"}, "C: outputFile=-c | L: outputFile=-c | current=C"},
        {{"-o", "x.lst"}, "C: outputFile=x.lst | L: outputFile=x.lst | current=C"},
        {{"a.o", "-lib", "-o", "liba.lib"},
         "C: outputFile=liba.lib objectFiles=[a.o] | L: outputFile=liba.lib objectFiles=[a.o] "
         "buildLibrary | current=L"},
    });
}

// Compiler options, and what they do to the current record.
TEST(Classify, CompilerOptions) {
    expectRows({
        {{"-c", "foo.c", "-o", "foo.o"},
         "C: outputFile=foo.o cSources=[foo.c] compileOnly | L: outputFile=foo.o | current=C"},
        {{"-link", "/c"}, "C: compileOnly | L: | current=C"},
        {{"-Dname=value", "/Dname"}, "C: defines=[name=value,name] | L: | current=C"},
        // Empty, "/D" and "/I" would take the next word of the compiler's command line.
        {{"-D"}, "exit 1"},
        {{"-I", "a.c"}, "exit 1"},
        {{"-I/usr/include", "-Iinc/sub"},
         "C: includeDirs=[Z:\\usr\\include,inc\\sub] | L: | current=C"},
        {{"-E"}, "C: preprocessOnly | L: | current=C"},
        {{"-g"}, "C: debugInfo | L: debugInfo | current=C"},
        {{"-link", "-g"}, "C: debugInfo | L: debugInfo | current=L"},
        {{"/Fdx.pdb"}, "C: pdbFile=x.pdb | L: | current=C"},
        {{"/MDd"}, "C: runtimeLibrary=/MDd | L: runtimeLibrary=/MDd | current=C"},
        {{"/MT", "/ML"}, "C: runtimeLibrary=/ML | L: runtimeLibrary=/ML | current=C"},
        {{"-MDd"}, "exit 1"},
        {{"-O3"}, "C: optimizeLevel=3 | L: | current=C"},
        {{"-O0"}, "C: optimizeLevel=0 | L: | current=C"},
        {{"-O"}, "C: optimizeLevel=1 | L: | current=C"},
        {{"/O2"}, "C: optimizeLevel=2 | L: | current=C"},
        {{"-O10"}, "exit 1"},
        {{"-Os"}, "exit 1"},
        {{"-link", "-O2"}, "exit 1"},
        {{"-link", "/O2"}, "C: | L: extraOptions=[/O2] | current=L"},
        {{"-mcpu=i386"}, "C: cpuOption=G3 | L: | current=C"},
        {{"-mcpu=i386", "-mpentiumpro"}, "C: cpuOption=G6 | L: | current=C"},
        {{"-mpentium"}, "C: cpuOption=G5 | L: | current=C"},
        {{"-mi486"}, "C: cpuOption=G4 | L: | current=C"},
        {{"-mno-cygwin"}, "C: | L: | current=C"},
        {{"-mPentium"}, "C: | L: | current=C"},
        {{"-link", "-mi486"}, "exit 1"},
    });
}

// "-MD" asks for a dependency file; "/MD" picks a runtime library.
TEST(Classify, DependencyOptions) {
    expectRows({
        {{"-MD", "-MP", "-MF", "foo.d", "-MT", "foo.o"},
         "C: generate phonyTargets target=foo.o dependencyFile=foo.d | L: | current=C"},
        {{"-MT", "a", "-MT", "b"}, "C: target=b | L: | current=C"},
        {{"-link", "-MT", "t"}, "C: target=t | L: | current=C"},
        {{"-link", "-MF", "-o"}, "C: dependencyFile=-o | L: | current=C"},
        {{"/MD"}, "C: runtimeLibrary=/MD | L: runtimeLibrary=/MD | current=C"},
        {{"-md"}, "C: | L: | current=C"}, // a processor name that matches none
        {{"-Md"}, "exit 1"},
    });
}

// gcc mode names the rule and its file after the object, as gcc does, unless told otherwise.
TEST(Classify, GccDependencyDefaults) {
    expectRows({
        {{"--zarngcc", "-MD", "-c", "src/a.c", "-o", "obj/a.o"},
         "C: outputFile=obj/a.o cSources=[src/a.c] compileOnly generate target=obj/a.o "
         "dependencyFile=obj/a.d | L: outputFile=obj/a.o | current=C"},
        // A compile that links: its rule names the program, as gcc 12 names it.
        {{"--zarngcc", "-MMD", "-o", "out/app.exe", "src/my app.c"},
         "C: outputFile=out/app.exe cSources=[src/my app.c] generate target=out/app.exe "
         "dependencyFile=out/app.d userHeadersOnly | L: outputFile=out/app.exe "
         "extraOptions=[/STACK:2097152] | current=C"},
        {{"--zarngcc", "-MMD", "src/my app.c"},
         "C: cSources=[src/my app.c] generate target=my\\ app.exe dependencyFile=a-my app.d "
         "userHeadersOnly | L: extraOptions=[/STACK:2097152] | current=C"},
        {{"--zarngcc", "-MD", "-shared", "g.c"},
         "C: cSources=[g.c] generate target=g.dll dependencyFile=a-g.d | L: "
         "extraOptions=[/STACK:2097152] dll | current=C"},
        {{"--zarngcc", "-MD", "-c", "src/a.c"},
         "C: outputFile=a.o cSources=[src/a.c] compileOnly generate target=a.o dependencyFile=a.d "
         "| L: | current=C"},
        // Joined values, and the preprocessor's spelling of kernel-style Makefiles.
        {{"--zarngcc", "-MD", "-MTt", "-MQ$q", "-MFf.d", "-c", "a.c"},
         "C: outputFile=a.o cSources=[a.c] compileOnly generate target=t $$q "
         "dependencyFile=f.d | L: | current=C"},
        {{"--zarngcc", "-Wp,-MMD,.a.o.d", "-c", "a.c", "-o", "a.o"},
         "C: outputFile=a.o cSources=[a.c] compileOnly generate target=a.o "
         "dependencyFile=.a.o.d userHeadersOnly | L: outputFile=a.o | current=C"},
        {{"--zarngcc", "-MD", "-MQ", "$x", "-MT", "y", "-MF", "f", "a.c", "b.c"},
         "C: cSources=[a.c,b.c] generate target=$$x y dependencyFile=f | L: "
         "extraOptions=[/STACK:2097152] | current=C"},
        {{"--zarngcc", "-MD", "-o", "app", "a.obj"},
         "C: outputFile=app objectFiles=[a.obj] | L: outputFile=app objectFiles=[a.obj] "
         "extraOptions=[/STACK:2097152] | current=C"},
        {{"--zarngcc", "-E", "-o", "out/a.i", "-MD", "a.c"},
         "C: cSources=[a.c] preprocessOnly generate target=a.o dependencyFile=out/a.d "
         "preprocessedFile=out/a.i | L: outputFile=out/a.i | current=C"},
    });
}

// Linker options move the current record to the linker, whose tool then runs.
TEST(Classify, LinkerOptions) {
    expectRows({
        {{"/DEBUG"}, "C: | L: debugInfo | current=L"},
        {{"/RELEASE"}, "C: | L: release | current=L"},
        {{"/INCREMENTAL:YES"}, "C: | L: incremental | current=L"},
        {{"/INCREMENTAL:YES", "/INCREMENTAL:yes"}, "C: | L: | current=L"},
        {{"/INCREMENTAL:YES", "/INCREMENTAL:NO"}, "C: | L: | current=L"},
        {{"/PDB:x.pdb"}, "C: | L: pdbFile=x.pdb | current=L"},
        {{"-L/usr/lib", "-lm"},
         "C: libraryDirs=[Z:\\usr\\lib] libraries=[m.lib] | L: libraryDirs=[Z:\\usr\\lib] "
         "libraries=[m.lib] | current=C"},
        {{"-L"}, "C: libraryDirs=[] | L: libraryDirs=[] | current=C"},
    });
}

// Unknown "/" arguments pass through to the current record; any other unknown one is fatal.
TEST(Classify, PassThroughAndUnknown) {
    expectRows({
        {{"/nologo"}, "C: extraOptions=[/nologo] | L: | current=C"},
        {{"/usr/lib/crt.a"}, "C: extraOptions=[/usr/lib/crt.a] | L: | current=C"},
        {{"-link", "/nologo", "a.c", "/W3"},
         "C: extraOptions=[/W3] cSources=[a.c] | L: extraOptions=[/nologo] | current=C"},
        {{"/"}, "C: extraOptions=[/] | L: | current=C"},
        {{"-Wall"}, "exit 1"},
        {{"-g3"}, "exit 1"},
        {{"-"}, "exit 1"},
        {{""}, "exit 1"},
        {{"-o"}, "exit 1"},
        {{"a.c", "-MT"}, "exit 1"},
        {{"-MF"}, "exit 1"},
    });
}

// The messages that end a classification, and the version line.
TEST(Classify, EndingMessages) {
    struct Ending {
        std::vector<std::string> arguments;
        std::string out, err;
        int status;
    } rows[] = {
        {{"-c", "a.c", "-Wall"}, "", "zarn ERROR: unknown option \"-Wall\"\n", 1},
        {{""}, "", "zarn ERROR: unknown option \"\"\n", 1},
        {{"-c", "-o"}, "", "zarn ERROR: missing argument to \"-o\"\n", 1},
        {{"--zarnversion", "-Wall"}, "$Revision: 1.45 $\n", "", 0},
        {{"-Wall", "--zarnversion"}, "", "zarn ERROR: unknown option \"-Wall\"\n", 1},
    };
    for (Ending& row : rows) {
        test::ArgumentVector args(row.arguments);
        CompilerArgs compiler;
        LinkerArgs linker;
        testing::internal::CaptureStdout();
        test::Ending ending =
            test::runToEnd([&] { classifyArguments(args.argc(), args.argv(), compiler, linker); });
        EXPECT_EQ(testing::internal::GetCapturedStdout(), row.out);
        EXPECT_EQ(ending.err, row.err);
        EXPECT_EQ(ending.status, row.status);
    }
}

// gcc mode shows in the trace, with every option it left out.
TEST(Classify, GccModeTrace) {
    traceEnabled = false;
    test::ArgumentVector args(
        {"-fPIC", "-c", "a.c", "--zarngcc", "-Wl,-rpath,/x,--as-needed", "--zarndbg"});
    CompilerArgs compiler;
    LinkerArgs linker;
    testing::internal::CaptureStdout();
    classifyArguments(args.argc(), args.argv(), compiler, linker);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "gcc mode (--zarngcc)\ngcc mode: dropped ``-fPIC''\n"
              "gcc mode: dropped ``linker option -rpath /x''\n"
              "gcc mode: dropped ``linker option --as-needed''\n");
    traceEnabled = false;
}

// "--zarndbg" anywhere turns tracing on and is otherwise ignored.
TEST(Classify, TraceSwitch) {
    traceEnabled = false;
    EXPECT_EQ(classifyToText({"-c", "--zarndbg", "a.c"}),
              "C: cSources=[a.c] compileOnly | L: | current=C");
    EXPECT_TRUE(traceEnabled);
    traceEnabled = false;
}

} // namespace
} // namespace zarn
