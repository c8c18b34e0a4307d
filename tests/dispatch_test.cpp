// build/zarn against the stand-in tools: which tool runs, with what, and where its output goes.
#include "support.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace zarn {
namespace {

const std::string zarn = ZARN_PROGRAM;

test::ProgramResult runZarn(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), zarn);
    return test::runProgram(arguments);
}

struct Row {
    std::vector<std::string> arguments;
    std::vector<std::pair<const char*, std::string>> settings;
    std::string commandLine; // the stand-in's arguments, joined; empty when no tool ran
    int status;
    std::string out, err;
};

void expectRows(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        test::ScratchDirectory scratch;
        test::StandInTools tools;
        test::ScopedEnvironment lib("LIB", std::nullopt);
        test::writeFile("a.lst", "x.obj\n");
        test::writeFile("a.c", "int a;\n");
        for (auto& [name, value] : row.settings)
            tools.set(name, value);
        std::string described;
        for (const std::string& argument : row.arguments)
            described += "'" + argument + "' ";
        test::ProgramResult result = runZarn(row.arguments);
        std::vector<test::ToolRun> runs = tools.runs();
        EXPECT_EQ(runs.empty() ? "" : test::joinArguments(runs.back()), row.commandLine)
            << described;
        EXPECT_LE(runs.size(), 1u) << described;
        EXPECT_EQ(result.status, row.status) << described;
        EXPECT_EQ(result.out, row.out) << described;
        EXPECT_EQ(result.err, row.err) << described;
    }
}

// Output goes to standard output on success, to standard error on failure, except the
// preprocessor's; the tool's status is zarn's.
TEST(Dispatch, ForwardingAndStatus) {
    std::vector<std::pair<const char*, std::string>> talks = {{"STANDIN_STDOUT", "out\n"},
                                                              {"STANDIN_STDERR", "err\n"}};
    auto failing = [&](const char* status) {
        auto settings = talks;
        settings.push_back({"STANDIN_STATUS", status});
        return settings;
    };
    expectRows({
        {{}, talks, "cl.exe", 0, "out\n", "err\n"},
        {{}, failing("2"), "cl.exe", 2, "out\n", "err\n"},
        {{"-c", "a.c"}, talks, "cl.exe /nologo /c /Tca.c", 0, "out\n", "err\n"},
        {{"-c", "a.c"}, failing("2"), "cl.exe /nologo /c /Tca.c", 2, "", "out\nerr\n"},
        {{"-E", "a.c"}, failing("2"), "cl.exe /nologo /E /Tca.c", 2, "out\n", "err\n"},
        {{"-E", "a.c", "-link"},
         failing("2"),
         "link.exe /nologo /INCREMENTAL:NO",
         2,
         "",
         "out\nerr\n"},
        {{"a.o", "-o", "p.exe", "-link"},
         failing("1"),
         "link.exe /nologo /OUT:p.exe /INCREMENTAL:NO a.o",
         1,
         "",
         "out\nerr\n"},
        {{"a.o", "-lib", "-o", "a.lib"},
         talks,
         "lib.exe /nologo /OUT:a.lib a.o",
         0,
         "out\n",
         "err\n"},
        {{"a.o", "-o", "p.exe"}, talks, "cl.exe /nologo /Fep.exe a.o", 0, "out\n", "err\n"},
        {{"-c", "a.c"}, failing("77"), "cl.exe /nologo /c /Tca.c", 77, "", "out\nerr\n"},
    });
#ifndef _WIN32
    // A tool ended by a signal: 128+n.
    expectRows({
        {{"a.lst"},
         {{"STANDIN_SIGNAL", "6"}},
         "link.exe /nologo /INCREMENTAL:NO x.obj",
         134,
         "",
         ""},
    });
#endif
}

// The exit statuses zarn produces itself, before or instead of a tool.
TEST(Dispatch, OwnStatuses) {
    expectRows({
        {{"--zarnversion"}, {}, "", 0, "$Revision: 1.45 $\n", ""},
        {{"-c", "a.c", "--zarnversion", "-Wall"}, {}, "", 0, "$Revision: 1.45 $\n", ""},
        {{"-c", "a.c", "-Wall"}, {}, "", 1, "", zarn + " ERROR: unknown option \"-Wall\"\n"},
        {{"-"}, {}, "", 1, "", zarn + " ERROR: unknown option \"-\"\n"},
        {{"-c", "-o"}, {}, "", 1, "", zarn + " ERROR: missing argument to \"-o\"\n"},
        {{"missing.lst"}, {}, "", 1, "", "Couldn't open file 'missing.lst'!!\n"},
        {{"a.lst", "missing.lst"}, {}, "", 1, "", "Couldn't open file 'missing.lst'!!\n"},
        // A source is never written over, in either mode, nor a bare "/I" written.
        {{"-c", "a.c", "-o", "a.c"},
         {},
         "",
         1,
         "",
         zarn + " ERROR: input file 'a.c' is the same as output file\n"},
        {{"--zarngcc", "-E", "a.c", "-o", "./a.c"},
         {},
         "",
         1,
         "",
         zarn + " ERROR: input file 'a.c' is the same as output file\n"},
        {{"-c", "-I", "a.c"}, {}, "", 1, "", zarn + " ERROR: \"-I\" is given an empty directory\n"},
    });
}

// A tool that is not on PATH is a fatal report, status 1.
TEST(Dispatch, ToolNotFound) {
    test::ScratchDirectory scratch;
    test::ScopedEnvironment path("PATH", std::string("/nonexistent"));
    test::ProgramResult result = test::runProgram({zarn, "-c", "a.c"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Win32 API FATAL ERROR, CreateProcess(\"cl.exe /nologo  /c /Tca.c\", "
                          "...:\n\t" +
                              test::systemReport(ENOENT, 2 /* ERROR_FILE_NOT_FOUND */));
}

// With "--zarndbg" the LIB export and the tool's command line are traced, in that order,
// before the tool's own output; without it nothing is.
TEST(Dispatch, Tracing) {
    struct Row {
        std::vector<std::string> arguments;
        std::optional<std::string> lib;
        std::string out;
    } rows[] = {
        {{"-c", "a.c"}, std::nullopt, "tool\n"},
        {{"--zarndbg", "-c", "a.c"},
         std::nullopt,
         "LIB==''\nInvoking external process: ``cl.exe /nologo  /c /Tca.c''\ntool\n"},
        {{"-c", "a.c", "-L/xy", "--zarndbg"},
         std::string("C:\\VC"),
         "LIB=='C:\\VC;Z:\\xy'\nInvoking external process: ``cl.exe /nologo  /c /Tca.c''\ntool\n"},
        {{"--zarndbg"},
         std::nullopt,
         "LIB==''\nInvoking external process: ``cl.exe /nologo ''\ntool\n"},
    };
    for (Row& row : rows) {
        test::ScratchDirectory scratch;
        test::StandInTools tools;
        test::ScopedEnvironment lib("LIB", row.lib);
        tools.set("STANDIN_STDOUT", "tool\n");
        std::vector<std::string> command{zarn};
        command.insert(command.end(), row.arguments.begin(), row.arguments.end());
        EXPECT_EQ(test::runProgram(command).out, row.out) << row.arguments[0];
    }
}

// The tool inherits the LIB zarn composed; the bare run leaves LIB alone.
TEST(Dispatch, ToolSeesLib) {
    struct Row {
        std::vector<std::string> arguments;
        std::optional<std::string> startup, seen;
    } rows[] = {
        {{"-c", "a.c"}, std::nullopt, std::string("")},
        {{"-Llibs", "a.o", "-link"}, std::string("C:\\VC\\lib"), std::string("C:\\VC\\lib;libs")},
        {{}, std::nullopt, std::nullopt},
        {{}, std::string("C:\\VC\\lib"), std::string("C:\\VC\\lib")},
    };
    for (Row& row : rows) {
        test::ScratchDirectory scratch;
        test::StandInTools tools;
        test::ScopedEnvironment lib("LIB", row.startup);
        std::vector<std::string> command{zarn};
        command.insert(command.end(), row.arguments.begin(), row.arguments.end());
        EXPECT_EQ(test::runProgram(command).status, 0);
        ASSERT_EQ(tools.runs().size(), 1u);
        EXPECT_EQ(tools.runs()[0].lib, row.seen);
    }
}

// Large and binary output passes through byte for byte, each stream to its own place.
TEST(Dispatch, OutputPassesThroughWhole) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    const std::size_t size = 3 * 1024 * 1024 + 7;
    tools.set("STANDIN_FLOOD", std::to_string(size));
    test::ProgramResult result = runZarn({"-c", "a.c"});
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.out == test::floodBytes(size, 1));
    EXPECT_TRUE(result.err == test::floodBytes(size, 2));

    test::writeFile("zeros", std::string("\0x\0", 3));
    tools.set("STANDIN_FLOOD", "0");
    tools.set("STANDIN_STDOUT_FILE", "zeros");
    tools.set("STANDIN_STATUS", "1");
    result = runZarn({"-c", "a.c"});
    EXPECT_EQ(result.err, std::string("\0x\0", 3));
}

#ifndef _WIN32
// Output that zarn cannot write is a failure, not a silent loss.
TEST(Dispatch, StandardOutputFull) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    tools.set("STANDIN_STDOUT", "preprocessed text\n");
    test::ProgramResult result =
        test::runProgram({"sh", "-c", "exec \"$0\" -E a.c > /dev/full", zarn});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Couldn't write to ``standard output'': No space left on device\n");
}
#endif

#ifdef _WIN32
// On Windows the POSIX root is the folder ZARN_POSIX_ROOT names (Z:, where Wine shows the Linux
// root, when it is unset), "/c/…" names drive C:, and a dependency file writes drives as MSYS2
// does when MSYSTEM says the build runs under it.
TEST(Dispatch, PosixRootOnWindows) {
    struct Row {
        std::optional<std::string> root, msystem;
        std::string compile, rule;
    } rows[] = {
        {std::nullopt, std::nullopt, "cl.exe /nologo /E /c /IZ:\\usr\\include /IC:\\work /Tca.c",
         "a.obj: \\\n\t/cygdrive/c/work/a.h \\\n\t/usr/include/b.h\n\n"},
        {std::string("C:/msys64/"), std::string("MINGW64"),
         "cl.exe /nologo /E /c /IC:\\msys64\\usr\\include /IC:\\work /Tca.c",
         "a.obj: \\\n\t/c/work/a.h \\\n\t/z/usr/include/b.h\n\n"},
    };
    for (Row& row : rows) {
        test::ScratchDirectory scratch;
        test::StandInTools tools;
        test::ScopedEnvironment root("ZARN_POSIX_ROOT", row.root);
        test::ScopedEnvironment msystem("MSYSTEM", row.msystem);
        test::writeFile("a.i",
                        "#line 1 \"C:\\\\work\\\\a.h\"\n#line 1 \"Z:\\\\usr\\\\include\\\\b.h\"\n");
        tools.set("STANDIN_PREPROCESSED_FILE", "a.i");
        test::ProgramResult result = runZarn(
            {"-c", "a.c", "-I/usr/include", "-I/c/work", "-MD", "-MT", "a.obj", "-MF", "a.d"});
        EXPECT_EQ(result.status, 0) << result.err;
        ASSERT_EQ(tools.runs().size(), 2u);
        EXPECT_EQ(test::joinArguments(tools.runs()[0]), row.compile);
        EXPECT_EQ(test::readFile("a.d"), row.rule);
    }
}
#endif

// gcc mode's "-c" of several sources without "-o": a compile for each "SOURCE.o", in turn, the
// first failing one ending the run; none when one would write over a source.
TEST(Dispatch, GccObjectForEachSource) {
    struct Case {
        std::vector<std::string> arguments;
        const char* status;
        std::vector<std::string> runs;
        int exitStatus;
    };
    const std::string a = "cl.exe /nologo /c /Foa.o /D__ZARN_GCC__ /Tca.c";
    const std::string b = "cl.exe /nologo /c /Fob.o /EHs /D__ZARN_GCC__ /Tpsrc\\b.cpp";
    const Case cases[] = {
        {{"--zarngcc", "-c", "src/b.cpp", "a.c"}, "0", {a, b}, 0},
        {{"--zarngcc", "-c", "a.c", "src/b.cpp"}, "2", {a}, 2},
        {{"--zarngcc", "-c", "a.c", "-x", "c", "b.o"}, "0", {}, 1},
    };
    for (const Case& row : cases) {
        test::ScratchDirectory scratch;
        test::StandInTools tools;
        test::writeFile("b.o", "");
        tools.set("STANDIN_STATUS", row.status);
        test::ProgramResult result = runZarn(row.arguments);
        std::vector<std::string> runs;
        for (const test::ToolRun& run : tools.runs())
            runs.push_back(test::joinArguments(run));
        EXPECT_EQ(runs, row.runs) << row.arguments.back();
        EXPECT_EQ(result.status, row.exitStatus) << result.err;
    }
}

} // namespace
} // namespace zarn
