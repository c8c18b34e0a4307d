// build/zarn against the stand-in tools: which tool runs, with what, and where its output goes.
#include "support.h"

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
        {{"a.lst"},
         {{"STANDIN_SIGNAL", "6"}},
         "link.exe /nologo /INCREMENTAL:NO x.obj",
         134,
         "",
         ""},
    });
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
                          "...:\n\tNo such file or directory\n");
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
        {{"-c", "a.c", "-L/x", "--zarndbg"},
         std::string("C:\\VC"),
         "LIB=='C:\\VC;Z:\\x'\nInvoking external process: ``cl.exe /nologo  /c /Tca.c''\ntool\n"},
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

} // namespace
} // namespace zarn
