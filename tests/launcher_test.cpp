// ZARN_LAUNCHER: compiles (and their preprocessing runs) start through a launcher such as
// sccache, given the compiler's whole command line; the linker and the librarian never do.
#include "host/command_line.h"
#include "support.h"
#include "tool/launcher.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace zarn {
namespace {

const std::string zarn = ZARN_PROGRAM;

// Each row: ZARN_LAUNCHER, zarn's arguments, the runs of the stand-ins (launcher or tool, each
// joined), zarn's status and standard output.
TEST(Launcher, CommandLines) {
#ifdef _WIN32
    const std::string sourceName = "src\\a.c";
#else
    const std::string sourceName = "src/a.c";
#endif
    const std::vector<std::string> dependencies{"-MD", "-MT", "a.obj", "-MF", "a.d"};
    auto with = [](std::vector<std::string> words, const std::vector<std::string>& more) {
        words.insert(words.end(), more.begin(), more.end());
        return words;
    };
    struct Row {
        std::optional<std::string> launcher;
        std::vector<std::string> arguments;
        std::optional<std::string> deps; // ZARN_DEPS
        std::vector<std::string> runs;
        std::string out;
    } rows[] = {
        // unset or empty, nothing changes
        {std::nullopt, {"-c", "a.c"}, std::nullopt, {"cl.exe /nologo /c /Tca.c"}, ""},
        {std::string(""), {"-c", "a.c"}, std::nullopt, {"cl.exe /nologo /c /Tca.c"}, ""},
        {std::string("launcher"),
         {"-c", "a.c"},
         std::nullopt,
         {"launcher cl.exe -nologo -c /Tca.c"},
         ""},
        // several words, as CMake's launcher lists give them: blanks and tabs split them
        {std::string(" launcher\t--some-option  A=1 "),
         {"-c", "a.c"},
         std::nullopt,
         {"launcher --some-option A=1 cl.exe -nologo -c /Tca.c"},
         ""},
        {std::string(" \t "), {"-c", "a.c"}, std::nullopt, {"cl.exe /nologo /c /Tca.c"}, ""},
        // every option written with '-', zarn's own and those passed on, but the sources
        {std::string("launcher"),
         {"-c", "a.c", "b.cpp", "-O2", "/Zl", "-I/inc dir", "-o", "/tmp/a.obj"},
         std::nullopt,
         {"launcher cl.exe -nologo -c -Ogityb2 -Gs -Fo/tmp/a.obj -IZ:\\inc dir /Tca.c /Tpb.cpp "
          "-Zl"},
         ""},
        // a compile that links is still the compiler's run
        {std::string("launcher"),
         {"a.obj", "-o", "p.exe"},
         std::nullopt,
         {"launcher cl.exe -nologo -Fep.exe a.obj"},
         ""},
        // the linker, the librarian and the bare compiler run themselves
        {std::string("launcher"),
         {"a.obj", "-o", "p.exe", "-link"},
         std::nullopt,
         {"link.exe /nologo /OUT:p.exe /INCREMENTAL:NO a.obj"},
         ""},
        {std::string("launcher"),
         {"a.obj", "-lib", "-o", "a.lib"},
         std::nullopt,
         {"lib.exe /nologo /OUT:a.lib a.obj"},
         ""},
        {std::string("launcher"), {}, std::nullopt, {"cl.exe"}, ""},
        // -MD in one run with its include notes (their own cache key), as a cache can keep it;
        // asked for two runs, the preprocessing run, which no cache keeps, runs itself
        {std::string("launcher"),
         with({"-c", "a.c"}, dependencies),
         std::nullopt,
         {"launcher cl.exe -nologo -c /Tca.c -showIncludes -nologo"},
         ""},
        {std::string("launcher"),
         with({"-c", "a.c"}, dependencies),
         std::string("lines"),
         {"cl.exe /nologo /E /c /Tca.c", "launcher cl.exe -nologo -c /Tca.c"},
         ""},
        // debug information in the object, which is what a cache keeps; sources by names the
        // launcher can open on this host
        {std::string("launcher"),
         {"-c", "-g", "src/a.c"},
         std::nullopt,
         {"launcher cl.exe -nologo -c -Z7 /Tc" + sourceName},
         ""},
        {std::string("launcher"),
         with({"-c", "a.c"}, dependencies),
         std::string("showincludes"),
         {"launcher cl.exe -nologo -c /Tca.c -showIncludes -nologo"},
         ""},
        // the build's own request for notes, as ninja's deps = msvc makes it
        {std::string("launcher"),
         {"-c", "a.c", "/showIncludes"},
         std::nullopt,
         {"launcher cl.exe -nologo -c /Tca.c -showIncludes -nologo"},
         ""},
        {std::nullopt,
         with({"-c", "a.c"}, dependencies),
         std::string("showincludes"),
         {"cl.exe /nologo /c /Tca.c /showIncludes"},
         ""},
        // the trace shows the launcher
        {std::string("launcher"),
         {"--zarndbg", "-c", "a.c"},
         std::nullopt,
         {"launcher cl.exe -nologo -c /Tca.c"},
         "LIB==''\nInvoking external process: ``launcher cl.exe -nologo -c /Tca.c''\n"},
    };
    for (Row& row : rows) {
        test::ScratchDirectory scratch;
        test::StandInTools tools;
        test::ScopedEnvironment lib("LIB", std::nullopt);
        test::ScopedEnvironment launcher("ZARN_LAUNCHER", row.launcher);
        test::ScopedEnvironment deps("ZARN_DEPS", row.deps);
        test::writeFile("a.i", "#line 1 \"a.c\"\n");
        tools.set("STANDIN_PREPROCESSED_FILE", "a.i");
        std::vector<std::string> command{zarn};
        command.insert(command.end(), row.arguments.begin(), row.arguments.end());
        test::ProgramResult result = test::runProgram(command);
        std::string described;
        for (const std::string& word : row.arguments)
            described += word + " ";
        EXPECT_EQ(result.status, 0) << described << result.err;
        EXPECT_EQ(result.out, row.out) << described;
        std::vector<std::string> runs;
        for (const test::ToolRun& run : tools.runs())
            runs.push_back(test::joinArguments(run));
        EXPECT_EQ(runs, row.runs) << described;
    }
}

// A launcher that is not on PATH is zarn's own report, naming the setting and its value, in
// the same words on every system; the compile does not happen.
TEST(Launcher, NotFound) {
    for (std::string value : {"no-such-launcher", "no-such-launcher --some-option"}) {
        test::ScratchDirectory scratch;
        test::StandInTools tools;
        test::ScopedEnvironment launcher("ZARN_LAUNCHER", value);
        test::ProgramResult result = test::runProgram({zarn, "-c", "a.c"});
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "Couldn't start the launcher ZARN_LAUNCHER names, ``" + value +
                                  "'': " + test::systemText(ENOENT, 2 /* ERROR_FILE_NOT_FOUND */) +
                                  "\n");
        EXPECT_TRUE(tools.runs().empty());
    }
}

// A launcher named with a blank is one word in double quotes, the words after it its own; the
// linker's line is left as it is.
TEST(Launcher, NameWithBlank) {
    test::ScopedEnvironment launcher(
        "ZARN_LAUNCHER", std::string("\"C:\\Program Files\\sccache\\sccache.exe\" --opt"));
    EXPECT_EQ(toolCommandLine("cl.exe", " /nologo  /c"),
              "\"C:\\Program Files\\sccache\\sccache.exe\" --opt cl.exe -nologo -c");
    EXPECT_EQ(toolCommandLine("link.exe", " /nologo "), "link.exe /nologo ");
}

// A compile too long for the system keeps the launcher's words and the compiler on the line;
// only the compiler's arguments go to the response file.
TEST(Launcher, ResponseFile) {
    for (std::string value : {"launcher", "launcher --some-option"}) {
        test::ScratchDirectory scratch;
        test::ScopedEnvironment temporary("TMPDIR", scratch.path());
        test::ScopedEnvironment windowsTemporary("TMP", scratch.path());
        test::ScopedEnvironment launcher("ZARN_LAUNCHER", value);
        test::StandInTools tools;
        // Run from here: zarn itself could not be given a line that long.
        const std::string arguments =
            " /nologo  /c /DX=" + std::string(200 * 1024, 'x') + " /Tca.c";
        CapturedOutput output, error;
        EXPECT_EQ(runTool("cl.exe", arguments, output, error), 0);
        std::vector<test::ToolRun> runs = tools.runs();
        ASSERT_EQ(runs.size(), 1u);
        std::vector<std::string> words = splitCommandLine(value + " cl.exe");
        ASSERT_EQ(runs[0].arguments.size(), words.size() + 1);
        EXPECT_EQ(runs[0].arguments.back().substr(0, 1), "@");
        runs[0].arguments.pop_back();
        EXPECT_EQ(runs[0].arguments, words);
        EXPECT_TRUE(runs[0].responseFile ==
                    " -nologo -c -DX=" + std::string(200 * 1024, 'x') + " /Tca.c");
    }
}

} // namespace
} // namespace zarn
