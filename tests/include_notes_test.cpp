// Dependencies from the compile's own include notes (ZARN_DEPS=showincludes): one compiler run,
// the notes taken out of its output and every other byte passed on.
#include "compile/dependency_file.h"
#include "compile/include_notes.h"
#include "driver/classify.h"
#include "support.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace zarn {
namespace {

const std::string zarn = ZARN_PROGRAM;
const std::string note = "Note: including file:";

// Each row: what the compiler writes to standard output, what reaches zarn's output, and the
// names the notes give.
TEST(IncludeNotes, TakenOutOfTheOutput) {
    struct Row {
        std::string output, rest;
        std::vector<std::string> names;
    } rows[] = {
        {"", "", {}},
        {"foo.c\n", "foo.c\n", {}},
        // notes among diagnostics, nested, with CR LF and without a final line end
        {"foo.c\r\n" + note + " Z:\\a.h\r\n" + note + "  Z:\\b c.h\r\nfoo.c(3): warning\r\n" +
             note + " Z:\\d.h",
         "foo.c\r\nfoo.c(3): warning\r\n",
         {"Z:\\a.h", "Z:\\b c.h", "Z:\\d.h"}},
        // only at the start of a line, and the prefix exactly
        {"x " + note + " a.h\nNote: including files: b.h\n" + note + "\n",
         "x " + note + " a.h\nNote: including files: b.h\n",
         {}},
        {"\n\n" + note + "    deep.h\n\n", "\n\n\n", {"deep.h"}},
    };
    for (Row& row : rows) {
        std::string text = row.output;
        std::vector<std::string> names;
        text.resize(takeIncludeNotes(text.data(), text.size(), note, names));
        EXPECT_EQ(text, row.rest) << row.output;
        EXPECT_EQ(names, row.names) << row.output;
    }
}

// Notes name files as the compiler opened them: cl.exe in Windows form, clang-cl on a POSIX host
// in POSIX form. Each row: the two forms of one output, what stays of it, and the names both
// give, in Windows form.
TEST(IncludeNotes, EitherNameForm) {
    struct Row {
        std::string posix, windows, rest;
        std::vector<std::string> names;
    } rows[] = {
        // absolute names on drive Z:, the depth kept
        {note + " /usr/include/a.h\n" + note + "   /tmp/b c.h\n",
         note + " Z:\\usr\\include\\a.h\n" + note + "   Z:\\tmp\\b c.h\n",
         "",
         {"Z:\\usr\\include\\a.h", "Z:\\tmp\\b c.h"}},
        // relative names stay relative; CR LF and a last line without an end
        {note + " ./inc dir/a.h\r\n" + note + " b/c.h",
         note + " .\\inc dir\\a.h\r\n" + note + " b\\c.h",
         "",
         {".\\inc dir\\a.h", "b\\c.h"}},
        // other drives, and the mixed separators of an #include "sub/x.h"
        {note + " /cygdrive/c/dir/a.h\n" + note + " /cygdrive/c/src/inc/sub/x.h\n",
         note + " C:\\dir\\a.h\n" + note + " C:\\src\\inc/sub/x.h\n",
         "",
         {"C:\\dir\\a.h", "C:\\src\\inc\\sub\\x.h"}},
        // a note's prefix within a line is no note
        {"a.c(1): warning: x/y\n " + note + " /a.h\n" + note + "\n",
         "a.c(1): warning: x/y\n " + note + " /a.h\n" + note + "\n",
         "a.c(1): warning: x/y\n " + note + " /a.h\n",
         {}},
    };
    for (Row& row : rows) {
        for (std::string text : {row.posix, row.windows}) {
            std::vector<std::string> names;
            std::string written = text;
            text.resize(takeIncludeNotes(text.data(), text.size(), note, names));
            EXPECT_EQ(text, row.rest) << written;
            EXPECT_EQ(names, row.names) << written;
        }
    }
}

// Whole runs through the stand-in compiler. Each row: settings, zarn's status, standard output
// and error, the dependency file (or "old" where it must stay) and the compiler runs.
TEST(IncludeNotes, OneCompilerRun) {
    const std::string notes = "foo.c\r\n" + note + " Z:\\src\\my inc\\foo.h\r\n" + note +
                              "  Z:\\src\\my$dir\\cfg.h\r\nfoo.c(3): warning C4100\r\n" + note +
                              " Z:\\src\\foo.h";
    const std::string preprocessed = "#line 1 \"Z:\\\\src\\\\foo.c\"\n";
    const std::string compile = "cl.exe /nologo /c /Fofoo.obj /Tcfoo.c";
    const std::string gccCompile = "cl.exe /nologo /c /Fofoo.obj /D__ZARN_GCC__ /Tcfoo.c";
    const std::string rule = "foo.obj: \\\n\t/src/foo.h \\\n\t/src/my\\ inc/foo.h \\\n\t"
                             "/src/my$$dir/cfg.h \\\n\tfoo.c\n\n/src/foo.h:\n/src/my\\ inc/foo.h:\n"
                             "/src/my$$dir/cfg.h:\nfoo.c:\n";
    using Settings = std::vector<std::pair<const char*, std::string>>;
    struct Row {
        std::string what;
        Settings settings;
        std::vector<std::string> arguments;
        int status;
        std::string out, err, file;
        std::vector<std::string> runs;
    } rows[] = {
        {"one run",
         {{"ZARN_DEPS", "showincludes"}, {"STANDIN_STDOUT", notes}},
         {},
         0,
         "foo.c\r\nfoo.c(3): warning C4100\r\n",
         "",
         rule,
         {compile + " /showIncludes"}},
        {"POSIX names, as clang-cl writes them on Linux, give the same file",
         {{"ZARN_DEPS", "showincludes"},
          {"STANDIN_STDOUT", "foo.c\r\n" + note + " /src/my inc/foo.h\r\n" + note +
                                 "  /src/my$dir/cfg.h\r\nfoo.c(3): warning C4100\r\n" + note +
                                 " /src/foo.h"}},
         {},
         0,
         "foo.c\r\nfoo.c(3): warning C4100\r\n",
         "",
         rule,
         {compile + " /showIncludes"}},
        {"a localized prefix, and the English one of clang-cl behind the same setting",
         {{"ZARN_DEPS", "showincludes"},
          {"ZARN_SHOWINCLUDES_PREFIX", "Hinweis: Einlesen der Datei:"},
          {"STANDIN_STDOUT", "Hinweis: Einlesen der Datei:  Z:\\src\\x.h\n" + note + " y.h\n"}},
         {},
         0,
         "",
         "",
         "foo.obj: \\\n\t/src/x.h \\\n\tfoo.c \\\n\ty.h\n\n/src/x.h:\nfoo.c:\ny.h:\n",
         {compile + " /showIncludes"}},
        {"a failing compile keeps the old file",
         {{"ZARN_DEPS", "showincludes"},
          {"STANDIN_STDOUT", notes},
          {"STANDIN_STDERR", "bad\n"},
          {"STANDIN_STATUS", "2"}},
         {},
         2,
         "",
         "foo.c\r\nfoo.c(3): warning C4100\r\nbad\n",
         "old",
         {compile + " /showIncludes"}},
        {"a file that cannot be made stops before the compile",
         {{"ZARN_DEPS", "showincludes"}},
         {"-MF", "no/such/dir/foo.d"},
         1,
         "",
         "Couldn't write to ``no/such/dir/foo.d'': " +
             test::systemText(ENOENT, 3 /* ERROR_PATH_NOT_FOUND */) + "\n",
         "old",
         {}},
        {"preprocessing keeps two runs",
         {{"ZARN_DEPS", "showincludes"}},
         {"-E"},
         0,
         preprocessed,
         "",
         "foo.obj: \\\n\t/src/foo.c\n\n/src/foo.c:\n",
         {"cl.exe /nologo /E /E /c /Fofoo.obj /Tcfoo.c",
          "cl.exe /nologo /E /c /Fofoo.obj /Tcfoo.c"}},
        {"gcc mode: one run, and no empty rule for the source, as gcc writes it",
         {{"STANDIN_STDOUT", notes}},
         {"--zarngcc"},
         0,
         "foo.c\r\nfoo.c(3): warning C4100\r\n",
         "",
         rule.substr(0, rule.size() - 7),
         {gccCompile + " /showIncludes"}},
        {"gcc mode, -E: one run too, its notes on standard error, its text in the -o file",
         {{"STANDIN_PREPROCESS_STDERR", notes}},
         {"--zarngcc", "-E"},
         0,
         "",
         "foo.c\r\nfoo.c(3): warning C4100\r\n",
         rule.substr(0, rule.size() - 7),
         {"cl.exe /nologo /E /c /D__ZARN_GCC__ /Tcfoo.c /showIncludes"}},
        {"gcc mode, -MMD: no header of INCLUDE's directories, letter case aside",
         {{"STANDIN_STDOUT", notes}, {"INCLUDE", "C:\\vc;Z:\\SRC\\my inc\\"}},
         {"--zarngcc", "-MMD"},
         0,
         "foo.c\r\nfoo.c(3): warning C4100\r\n",
         "",
         "foo.obj: \\\n\t/src/foo.h \\\n\t/src/my$$dir/cfg.h \\\n\tfoo.c\n\n/src/foo.h:\n"
         "/src/my$$dir/cfg.h:\n",
         {gccCompile + " /showIncludes"}},
        {"another value keeps two runs",
         {{"ZARN_DEPS", "lines"}, {"STANDIN_STDOUT", "ok\n"}},
         {},
         0,
         "ok\n",
         "",
         "foo.obj: \\\n\t/src/foo.c\n\n/src/foo.c:\n",
         {"cl.exe /nologo /E /c /Fofoo.obj /Tcfoo.c", compile}},
    };
    for (Row& row : rows) {
        test::ScratchDirectory scratch;
        test::StandInTools tools;
        test::writeFile("foo.i", preprocessed);
        test::writeFile("foo.d", "old");
        tools.set("STANDIN_PREPROCESSED_FILE", "foo.i");
        for (auto& [name, value] : row.settings)
            tools.set(name, value);
        std::vector<std::string> command{zarn,  "-c",      "foo.c", "-o",    "foo.obj", "-MD",
                                         "-MT", "foo.obj", "-MF",   "foo.d", "-MP"};
        command.insert(command.end(), row.arguments.begin(), row.arguments.end());
        test::ProgramResult result = test::runProgram(command);
        EXPECT_EQ(result.status, row.status) << row.what;
        EXPECT_EQ(result.out, row.out) << row.what;
        EXPECT_EQ(result.err, row.err) << row.what;
        EXPECT_EQ(test::readFile("foo.d"), row.file) << row.what;
        std::vector<std::string> runs;
        for (const test::ToolRun& run : tools.runs())
            runs.push_back(test::joinArguments(run));
        EXPECT_EQ(runs, row.runs) << row.what;
    }
}

// With "--zarndbg" each note is shown as the compiler wrote it, and the name it is read as where
// that differs, between the compile's trace line and its output.
TEST(IncludeNotes, Trace) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    test::ScopedEnvironment lib("LIB", std::nullopt);
    tools.set("ZARN_DEPS", "showincludes");
    tools.set("STANDIN_STDOUT", note + " C:\\inc\\a.h\n" + note + "  /src/b.h\nfoo.c\n");
    test::ProgramResult result = test::runProgram(
        {zarn, "--zarndbg", "-c", "foo.c", "-MD", "-MT", "foo.obj", "-MF", "foo.d"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "LIB==''\nInvoking external process: ``cl.exe /nologo  /c /Tcfoo.c "
                          "/showIncludes''\nInclude note: ``C:\\inc\\a.h''\nInclude note: "
                          "``/src/b.h'' read as ``Z:\\src\\b.h''\nfoo.c\n");
    EXPECT_EQ(test::readFile("foo.d"),
              "foo.obj: \\\n\t/cygdrive/c/inc/a.h \\\n\t/src/b.h \\\n\tfoo.c\n\n");
}

// A compile that links asks for its notes before "/link", after which all is the linker's.
TEST(IncludeNotes, BeforeTheLinkersOptions) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    test::ProgramResult result = test::runProgram(
        {zarn, "--zarngcc", "-MD", "-o", "app.exe", "foo.c", "-Wl,--out-implib,app.lib"});
    EXPECT_EQ(result.status, 0) << result.err;
    std::vector<test::ToolRun> runs = tools.runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(test::joinArguments(runs[0]),
              "cl.exe /nologo /Feapp.exe /D__ZARN_GCC__ /Tcfoo.c /showIncludes /link "
              "/IMPLIB:app.lib /STACK:2097152");
}

// What a failed dependency file takes with it: the files make knows the compile by.
TEST(IncludeNotes, CompileOutputs) {
    struct Row {
        std::vector<std::string> arguments;
        std::vector<std::string> outputs;
    } rows[] = {
        {{"-c", "src/a.c", "-o", "obj/a.obj"}, {"obj/a.obj"}},
        {{"-c", "src/a.c", "dir\\b.cpp"}, {"a.obj", "b.obj"}},
        {{"src/a.c", "b.c"}, {"a.exe"}},
        {{"a.c", "-o", "prog.exe"}, {"prog.exe"}},
    };
    for (Row& row : rows) {
        test::ArgumentVector args(row.arguments);
        CompilerArgs compiler;
        LinkerArgs linker;
        classifyArguments(args.argc(), args.argv(), compiler, linker);
        EXPECT_EQ(compileOutputs(compiler), row.outputs) << row.arguments[1];
    }
}

#ifndef _WIN32
// A dependency file that cannot be written once the compile has succeeded (here a file size
// limit, as a full disk would be) takes the new object with it: make must not find a fresh
// object beside an old rule. The compiler's notes (its standard output, a file in memory on
// Linux, under the same limit) stay below the limit; the rule, with -MP, goes over it.
TEST(IncludeNotes, UnwritableFileTakesTheObject) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    std::string notes;
    for (int i = 0; i < 30; ++i)
        notes += note + " Z:\\src\\" + std::string(80, 'n') + std::to_string(i) + ".h\n";
    test::writeFile("notes", notes);
    test::writeFile("foo.obj", "the compile's object");
    test::writeFile("foo.d", "old");
    tools.set("ZARN_DEPS", "showincludes");
    tools.set("STANDIN_STDOUT_FILE", "notes");
    test::ProgramResult result =
        test::runProgram({"prlimit", "--fsize=4096", zarn, "-c", "foo.c", "-o", "foo.obj", "-MD",
                          "-MT", "foo.obj", "-MF", "foo.d", "-MP"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Couldn't write to ``foo.d'': File too large\n");
    EXPECT_EQ(test::readFile("foo.d"), "old");
    EXPECT_FALSE(std::filesystem::exists("foo.obj"));
}
#endif

} // namespace
} // namespace zarn
