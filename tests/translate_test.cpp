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

// gcc mode: what gcc-style builds send, in the tools' words; "-" rows are refused.
TEST(Translate, GccMode) {
    test::ScratchDirectory scratch;
    test::StartupLib lib(std::nullopt);
    test::makeDirectory("lib");
    test::writeFile("lib/libcalc.a", "");
    test::writeFile("lib/libz.lib", "");
    test::writeFile("lib/libw.dll.a", "");
    auto gcc = [](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "--zarngcc");
        return arguments;
    };
    expectRows({
        {gcc({"-c", "-I", "inc", "-D", "A=1", "-U", "B", "-include", "cfg.h", "-isystem", "/sys",
              "a.c"}),
         "cl.exe", " /c /D__ZARN_GCC__ /DA=1 /UB /Iinc /IZ:\\sys /FIcfg.h /Tca.c"},
        {gcc({"-c", "-DX=y.c", "-DEBUG", "a.c"}), "cl.exe",
         " /c /D__ZARN_GCC__ /DX=y.c /DEBUG /Tca.c"},
        {gcc({"-c", "-std=gnu99", "-Wall", "-Wextra", "-Werror", "-Wshadow", "-fPIC", "a.c"}),
         "cl.exe", " /c /std:c11 /W3 /W4 /WX /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-std=c89", "-w", "a.c"}), "cl.exe", " /c /w /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-std=c++11", "-std=gnu17", "a.cc", "b.c"}), "cl.exe",
         " /c /std:c17 /std:c++14 /EHsc /D__ZARN_GCC__ /Tcb.c /Tpa.cc"},
        {gcc({"-c", "-fno-exceptions", "-fno-rtti", "a.cpp"}), "cl.exe",
         " /c /GR- /D__ZARN_GCC__ /Tpa.cpp"},
        {gcc({"-c", "/EHa", "a.cpp"}), "cl.exe", " /c /D__ZARN_GCC__ /Tpa.cpp /EHa"},
        {gcc({"-c", "-O0", "a.c"}), "cl.exe", " /c /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-O2", "-Os", "a.c"}), "cl.exe", " /c /O1 /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-Os", "-O3", "-g3", "a.c"}), "cl.exe",
         " /c /Ogityb2 /Gs /Zi /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-g", "-g0", "a.c"}), "cl.exe", " /c /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-c", "-x", "c++", "a.c", "-x", "none", "b.c", "-xc", "t.inc"}), "cl.exe",
         " /c /EHsc /D__ZARN_GCC__ /Tcb.c /Tct.inc /Tpa.c"},
        {gcc({"-o", "app", "m.obj", "lib/libcalc.a", "-Llib", "-lz", "-l", "w", "-lm"}), "cl.exe",
         " /Feapp m.obj lib\\libcalc.a lib\\libz.lib lib\\libw.dll.a m.lib"},
        {gcc({"-shared", "-o", "g.dll", "g.c", "g.def", "-Wl,--out-implib,libg.dll.a,-s",
              "-Xlinker", "-e", "-Xlinker", "start", "-Wl,/NOENTRY,-rpath,/x"}),
         "cl.exe",
         " /Feg.dll /LD /D__ZARN_GCC__ /Tcg.c /link /DEF:g.def /IMPLIB:libg.dll.a /ENTRY:start "
         "/NOENTRY"},
        {gcc({"-shared", "-o", "g.dll", "g.obj", "-link", "-Wl,--subsystem=windows"}), "link.exe",
         " /dll /OUT:g.dll /INCREMENTAL:NO g.obj /SUBSYSTEM:windows"},
        {gcc({"-c", "-shared", "-Wl,-s", "g.c"}), "cl.exe", " /c /D__ZARN_GCC__ /Tcg.c"},
        {gcc({"-o", "g.exe", "g.obj", "-Wl,", "-Wl,,/NOENTRY,"}), "cl.exe",
         " /Feg.exe g.obj /link /NOENTRY"},
        {gcc({"-E", "-o", "a.i", "a.c"}), "cl.exe", " /E /D__ZARN_GCC__ /Tca.c"},
        {gcc({"-MD", "-MT", "t", "-c", "a.c"}), "cl.exe", " /c /D__ZARN_GCC__ /Tca.c"},
    });
    // Refused, as gcc would refuse them, or beyond what the tools can do.
    for (std::vector<std::string> arguments : {std::vector<std::string>{"-x", "assembler", "a.s"},
                                               {"-Wp,-DX", "a.c"},
                                               {"-std=c2x"},
                                               {"-M", "a.c"},
                                               {"-Wl,-rpath"},
                                               {"-MD", "a.c", "b.c"}}) {
        test::Ending ending = test::runToEnd([&] { translate(gcc(arguments)); });
        EXPECT_EQ(ending.status, 1) << arguments[0];
    }
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
                                               {"lib/libcalc.a"},
                                               {"-std=c99"},
                                               {"-Wall"},
                                               {"-fPIC"},
                                               {"-shared"},
                                               {"-Wl,-s"},
                                               {"-MMD"},
                                               {"--version"},
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
