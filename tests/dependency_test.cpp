#include "compile/dependency_file.h"
#include "support.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zarn {
namespace {

std::string dependencyFile(std::string_view preprocessed, bool phony) {
    return dependencyFileText("foo.obj", scanLineDirectives(preprocessed), phony);
}

// Each row: a preprocessed text and the exact bytes of the dependency file, without and with
// "-MP".
TEST(Dependencies, FileFromPreprocessedText) {
    struct Row {
        std::string preprocessed, plain, phony;
    } rows[] = {
        // no directive at all: the target alone
        {"int x;\n", "foo.obj:\n\n", "foo.obj:\n\n"},
        {"", "foo.obj:\n\n", "foo.obj:\n\n"},
        // sorted by bytes, not by appearance; uppercase first
        {"#line 1 \"b.h\"\n#line 1 \"a.h\"\n#line 9 \"B.h\"\n",
         "foo.obj: \\\n\tB.h \\\n\ta.h \\\n\tb.h\n\n",
         "foo.obj: \\\n\tB.h \\\n\ta.h \\\n\tb.h\n\nB.h:\na.h:\nb.h:\n"},
        // each file once, however often it is named
        {"#line 1 \"a.h\"\nx\n#line 2 \"a.h\"\n#line 3 \"a.h\"\n", "foo.obj: \\\n\ta.h\n\n",
         "foo.obj: \\\n\ta.h\n\na.h:\n"},
        // two spellings of one file stay two names
        {"#line 1 \"inc\\\\a.h\"\n#line 1 \"inc/a.h\"\n",
         "foo.obj: \\\n\tinc/a.h \\\n\tinc/a.h\n\n",
         "foo.obj: \\\n\tinc/a.h \\\n\tinc/a.h\n\ninc/a.h:\ninc/a.h:\n"},
        // Windows names in POSIX form, blanks escaped
        {"#line 1 \"Z:\\\\src\\\\a b.h\"\n#line 1 \"c:\\\\dir\\\\x.h\"\n",
         "foo.obj: \\\n\t/src/a\\ b.h \\\n\t/cygdrive/c/dir/x.h\n\n",
         "foo.obj: \\\n\t/src/a\\ b.h \\\n\t/cygdrive/c/dir/x.h\n\n/src/a\\ "
         "b.h:\n/cygdrive/c/dir/x.h:\n"},
        // "$" and "#", which make would read as a variable and a comment
        {"#line 1 \"Z:\\\\my$dir\\\\cfg.h\"\n#line 1 \"C#lib\\\\x.h\"\n",
         "foo.obj: \\\n\tC\\#lib/x.h \\\n\t/my$$dir/cfg.h\n\n",
         "foo.obj: \\\n\tC\\#lib/x.h \\\n\t/my$$dir/cfg.h\n\nC\\#lib/x.h:\n/my$$dir/cfg.h:\n"},
        // CR LF line ends and blank lines between directives
        {"#line 1 \"a.h\"\r\n\r\n\r\n#line 2 \"b.h\"\r\n\n", "foo.obj: \\\n\ta.h \\\n\tb.h\n\n",
         "foo.obj: \\\n\ta.h \\\n\tb.h\n\na.h:\nb.h:\n"},
        // indented directives count; "# line" and "# 12" lines do not
        {"  \t#line 1 \"a.h\"\n# line 1 \"x.h\"\n# 12 \"y.h\"\n #  line 2 \"z.h\"\n",
         "foo.obj: \\\n\ta.h\n\n", "foo.obj: \\\n\ta.h\n\na.h:\n"},
    };
    for (Row& row : rows) {
        EXPECT_EQ(dependencyFile(row.preprocessed, false), row.plain) << row.preprocessed;
        EXPECT_EQ(dependencyFile(row.preprocessed, true), row.phony) << row.preprocessed;
    }
}

// The scan follows the compiler's text to its edges without reading past it.
TEST(Dependencies, ScanEdges) {
    using Names = std::vector<std::string_view>;
    struct Row {
        std::string preprocessed;
        Names names;
    } rows[] = {
        {"#linexyz \"c.h\"\n", {"c.h"}},         // letters right after "#line"
        {"#line 5\n\n\"d.h\"\n", {"d.h"}},       // the quote search crosses lines
        {"#line 1 \"tail.h", {"tail.h"}},        // unclosed name runs to the end
        {"#line 1 \"a.h\"", {"a.h"}},            // no line end at the end
        {"#line 1 \"", {}},                      // nothing after the quote
        {"#line 1 \"\"x\"\n", {"\"x"}},          // a name has at least one character
        {"#line 1\n", {}},                       // no quote at all: the scan ends
        {"#line 1\n#line 2 \"a.h\"\n", {"a.h"}}, // ... after taking the next quote
        {"#line", {}},                           // too short to be examined
        {"x\n#lin", {}},
        {"#line\"", {}},
        {"\n\r\n#line 1 \"a.h\"\n", {"a.h"}},
        {"text #line 1 \"no.h\"\n", {}},                              // only at the start of a line
        {"#line 1 \"\xe4.h\"\n#line 1 \"z.h\"\n", {"z.h", "\xe4.h"}}, // bytes sort unsigned
    };
    for (Row& row : rows)
        EXPECT_EQ(scanLineDirectives(row.preprocessed), row.names) << row.preprocessed;
}

// Names of any length are kept whole.
TEST(Dependencies, LongNames) {
    std::string name = "/" + std::string(5000, 'n') + ".h";
    EXPECT_EQ(dependencyFileText("t", scanLineDirectives("#line 1 \"" + name + "\"\n"), false),
              "t: \\\n\t" + name + "\n\n");
}

const std::string zarn = ZARN_PROGRAM;

// The compile with "-MD": a preprocessing run, the file, then the same compile for real.
TEST(Dependencies, WholeRun) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    test::writeFile("foo.i", "#line 1 \"Z:\\\\src\\\\foo.c\"\nint x;\n#line 1 "
                             "\"Z:\\\\src\\\\my inc\\\\foo.h\"\n#line 3 \"Z:\\\\src\\\\foo.c\"\n");
    tools.set("STANDIN_PREPROCESSED_FILE", "foo.i");
    tools.set("STANDIN_PREPROCESS_STDERR", "foo.c\n");
    tools.set("STANDIN_STDOUT", "compiled\n");
    test::ProgramResult result = test::runProgram(
        {zarn, "-c", "foo.c", "-o", "foo.obj", "-MD", "-MT", "foo.obj", "-MF", "foo.d", "-MP"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "compiled\n");
    EXPECT_EQ(result.err, "");
    std::vector<test::ToolRun> runs = tools.runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(test::joinArguments(runs[0]), "cl.exe /nologo /E /c /Fofoo.obj /Tcfoo.c");
    EXPECT_EQ(test::joinArguments(runs[1]), "cl.exe /nologo /c /Fofoo.obj /Tcfoo.c");
    EXPECT_EQ(test::readFile("foo.d"), "foo.obj: \\\n\t/src/foo.c \\\n\t/src/my\\ inc/foo.h\n\n"
                                       "/src/foo.c:\n/src/my\\ inc/foo.h:\n");
}

// Each way the pass can fail ends the run before the compile, with its own status.
TEST(Dependencies, Failures) {
    struct Row {
        std::vector<std::string> arguments;
        int preprocessStatus;
        int status;
        std::string err;
        std::size_t runs;
    };
    const std::string missing = test::systemText(ENOENT, 3 /* ERROR_PATH_NOT_FOUND */);
    std::vector<Row> rows = {
        {{"-MF", "x.d"}, 3, 3, "preprocessor says no\n", 1},
        {{}, 0, 1, "Couldn't write to ``'': " + missing + "\n", 1},
        {{"-MF", "nodir/x.d"}, 0, 1, "Couldn't write to ``nodir/x.d'': " + missing + "\n", 1},
        {{"-MF", "."},
         0,
         1,
         "Couldn't write to ``.'': " + test::systemText(EISDIR, 5 /* ERROR_ACCESS_DENIED */) + "\n",
         1},
    };
#ifndef _WIN32
    rows.push_back({{"-MF", "/dev/full"},
                    0,
                    1,
                    "Couldn't write to ``/dev/full'': No space left on device\n",
                    1});
#endif
    for (Row& row : rows) {
        test::ScratchDirectory scratch;
        test::StandInTools tools;
        test::writeFile("a.i", "#line 1 \"a.c\"\n");
        test::writeFile("x.d", "old");
        tools.set("STANDIN_PREPROCESSED_FILE", "a.i");
        tools.set("STANDIN_PREPROCESS_STATUS", std::to_string(row.preprocessStatus));
        tools.set("STANDIN_PREPROCESS_STDERR", "preprocessor says no\n");
        std::vector<std::string> command{zarn, "-c", "a.c", "-MD"};
        command.insert(command.end(), row.arguments.begin(), row.arguments.end());
        test::ProgramResult result = test::runProgram(command);
        EXPECT_EQ(result.status, row.status) << row.err;
        EXPECT_EQ(result.out, "") << row.err;
        EXPECT_EQ(result.err, row.err);
        EXPECT_EQ(tools.runs().size(), row.runs) << row.err;
        EXPECT_EQ(test::readFile("x.d"), "old") << "a failed pass leaves the file alone";
    }
}

// Without "-MD" the other dependency options write nothing and start no extra run; a Windows
// name for the file opens its POSIX counterpart; tracing shows both runs with one LIB.
TEST(Dependencies, OptionsAndTracing) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    test::writeFile("a.i", "#line 1 \"a.c\"\n");
    tools.set("STANDIN_PREPROCESSED_FILE", "a.i");
    test::ProgramResult result =
        test::runProgram({zarn, "-c", "a.c", "-MT", "a.obj", "-MF", "a.d", "-MP"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(tools.runs().size(), 1u);
    EXPECT_EQ(test::readFile("a.d"), "");

    test::makeDirectory("deps");
    test::ScopedEnvironment lib("LIB", std::nullopt);
    result = test::runProgram(
        {zarn, "--zarndbg", "-c", "a.c", "-MD", "-MF", "deps\\a.d", "-MT", "a.obj", "-Lx"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(test::readFile("deps/a.d"), "a.obj: \\\n\ta.c\n\n");
    EXPECT_EQ(result.out, "LIB=='x'\nInvoking external process: ``cl.exe /nologo /E  /c /Tca.c''\n"
                          "LIB=='x'\nInvoking external process: ``cl.exe /nologo  /c /Tca.c''\n");
}

} // namespace
} // namespace zarn

namespace zarn {
namespace {

// A preprocessed text naming `count` distinct files of about 100 bytes each.
std::string preprocessedNaming(int count, const std::string& tag) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "#line 1 \"Z:\\\\src\\\\" + tag + std::string(80, 'n') + std::to_string(i) +
                ".h\"\nint x" + std::to_string(i) + ";\n";
    return text;
}

// Files beside the dependency file that zarn did not mean to leave.
std::vector<std::string> leftovers(const std::vector<std::string>& expected) {
    std::vector<std::string> extra;
    for (const std::string& name : test::directoryNames("."))
        if (std::find(expected.begin(), expected.end(), name) == expected.end())
            extra.push_back(name);
    return extra;
}

// The dependency file is replaced, never emptied and rewritten: an old file gets the whole new
// text, and nothing is left beside it.
TEST(Dependencies, FileReplacedWhole) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    test::writeFile("a.i", preprocessedNaming(100, "a"));
    tools.set("STANDIN_PREPROCESSED_FILE", "a.i");
    test::writeFile("x.d", "old");
    test::ProgramResult result =
        test::runProgram({zarn, "-c", "a.c", "-MD", "-MT", "a.obj", "-MF", "x.d"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(test::readFile("x.d").substr(0, 9), "a.obj: \\\n");
    EXPECT_EQ(leftovers({"a.i", "stand-in.log", "x.d"}), std::vector<std::string>{});
}

#ifndef _WIN32
// When the disk fills the old file keeps its old text, a symbolic link keeps pointing at the
// file that gets the new one, and a device is written directly.
TEST(Dependencies, FileReplacedWholeOnPosixSystems) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    test::writeFile("a.i", preprocessedNaming(100, "a"));
    tools.set("STANDIN_PREPROCESSED_FILE", "a.i");
    test::writeFile("x.d", "old");
    // A file size limit (ulimit -f): the write fails, the old file and nothing else stays.
    test::ProgramResult result = test::runProgram(
        {"prlimit", "--fsize=4096", zarn, "-c", "a.c", "-MD", "-MT", "a.obj", "-MF", "x.d"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Couldn't write to ``x.d'': File too large\n");
    EXPECT_TRUE(test::readFile("x.d") == "old") << test::readFile("x.d").size();
    EXPECT_EQ(leftovers({"a.i", "stand-in.log", "x.d"}), std::vector<std::string>{});

    // A full disk: a small file system of its own, where the system lets the test mount one.
    const std::string fullDisk =
        "mkdir disk && mount -t tmpfs -o size=40k tmpfs disk && cd disk && printf old > x.d && "
        "head -c 32768 /dev/zero > fill && { STANDIN_PREPROCESSED_FILE=../a.i \"$0\" -c a.c -MD "
        "-MT a.obj -MF x.d; "
        "echo \" status=$?\"; cat x.d; echo; ls -A; }";
    result = test::runProgram({"unshare", "-m", "sh", "-c", fullDisk, zarn});
    if (result.out.find("status=") == std::string::npos) {
        std::cout << "note: no file system of the test's own here (" << result.err
                  << "), so no full disk\n";
    } else {
        EXPECT_EQ(result.err, "Couldn't write to ``x.d'': No space left on device\n");
        EXPECT_EQ(result.out, " status=1\nold\nfill\nx.d\n");
    }
    std::filesystem::remove("disk");

    result = test::runProgram({zarn, "-c", "a.c", "-MD", "-MT", "a.obj", "-MF", "x.d"});
    EXPECT_EQ(result.status, 0);
    const std::string complete = test::readFile("x.d");

    test::makeDirectory("real");
    symlink("real/x.d", "link.d");     // to a file not made yet
    symlink("../x.d", "real/back.d");  // relative to the link's own directory
    symlink("real/back.d", "chain.d"); // a chain of links
    for (const char* name : {"link.d", "chain.d", "/dev/null"}) {
        result = test::runProgram({zarn, "-c", "a.c", "-MD", "-MT", "a.obj", "-MF", name});
        EXPECT_EQ(result.status, 0) << name;
    }
    // The names of the process's own streams are written through, appended to as opened.
    const std::string rule = "a.obj: \\\n\t/src/a";
    result = test::runProgram({zarn, "-c", "a.c", "-MD", "-MT", "a.obj", "-MF", "/dev/stdout"});
    EXPECT_EQ(result.out.substr(0, rule.size()), rule);
    test::writeFile("log", "before\n");
    result = test::runProgram(
        {"sh", "-c",
         "exec 3>>log; exec \"$0\" -c a.c -MD -MT a.obj -MF /dev/stdout -MF /dev/fd/3 >>log",
         zarn});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(test::readFile("log").substr(0, 7 + rule.size()), "before\n" + rule);
    result = test::runProgram(
        {"sh", "-c", "exec \"$0\" -c a.c -MD -MT a.obj -MF /dev/stdout >>log", zarn});
    EXPECT_EQ(test::readFile("log").substr(0, 7 + rule.size()), "before\n" + rule);
    EXPECT_EQ(test::readFile("log").size(), 7 + 2 * complete.size());

    struct stat status;
    EXPECT_TRUE(lstat("link.d", &status) == 0 && S_ISLNK(status.st_mode));
    EXPECT_TRUE(lstat("chain.d", &status) == 0 && S_ISLNK(status.st_mode));
    EXPECT_EQ(test::readFile("real/x.d"), complete);
    EXPECT_EQ(test::readFile("x.d"), complete);
    EXPECT_EQ(leftovers({"a.i", "chain.d", "link.d", "log", "real", "stand-in.log", "x.d"}),
              std::vector<std::string>{});
}

// Two compiles writing one dependency file at once: it always ends up one whole text. The
// first case is one writer still busy with its own copy when the other one is done.
TEST(Dependencies, ConcurrentWriters) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    std::string texts[2];
    for (int i = 0; i < 2; ++i) {
        std::string name = std::string(1, static_cast<char>('a' + i)) + ".i";
        test::writeFile(name, preprocessedNaming(20000 / (i + 1), name));
        tools.set("STANDIN_PREPROCESSED_FILE", name);
        test::runProgram({zarn, "-c", "a.c", "-MD", "-MT", "a.obj", "-MF", "x.d", "-MP"});
        texts[i] = test::readFile("x.d");
    }

    int slowWriter = open("x.d", O_WRONLY);
    ASSERT_GE(slowWriter, 0);
    ASSERT_EQ(lseek(slowWriter, static_cast<off_t>(texts[1].size()), SEEK_SET),
              static_cast<off_t>(texts[1].size()));
    test::runProgram({zarn, "-c", "a.c", "-MD", "-MT", "a.obj", "-MF", "x.d", "-MP"});
    EXPECT_EQ(write(slowWriter, "tail", 4), 4);
    close(slowWriter);
    EXPECT_TRUE(test::readFile("x.d") == texts[1]) << test::readFile("x.d").size();

    for (int trial = 0; trial < 10; ++trial) {
        int pids[2];
        for (int i = 0; i < 2; ++i)
            pids[i] = test::startProgram(
                {"env",
                 "STANDIN_PREPROCESSED_FILE=" + std::string(1, static_cast<char>('a' + i)) + ".i",
                 zarn, "-c", "a.c", "-MD", "-MT", "a.obj", "-MF", "x.d", "-MP"});
        for (int pid : pids)
            EXPECT_EQ(test::waitProgram(pid), 0) << trial;
        std::string text = test::readFile("x.d");
        EXPECT_TRUE(text == texts[0] || text == texts[1]) << trial << ": " << text.size();
    }
    EXPECT_EQ(leftovers({"a.i", "b.i", "stand-in.log", "x.d"}), std::vector<std::string>{});
}

// A stop signal at any moment of a -MD compile, the file's writing included, leaves the old
// file or the whole new one, and no temporary file.
TEST(Dependencies, StopSignalDuringTheWrite) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    test::writeFile("a.i", preprocessedNaming(100000, "a"));
    tools.set("STANDIN_PREPROCESSED_FILE", "a.i");
    const std::vector<std::string> command{zarn,    "-c",  "a.c", "-MD", "-MT",
                                           "a.obj", "-MF", "x.d", "-MP"};
    auto started = std::chrono::steady_clock::now();
    test::runProgram(command);
    auto whole = std::chrono::steady_clock::now() - started;
    const std::string complete = test::readFile("x.d");
    ASSERT_GT(complete.size(), 15u << 20);
    // Steps 1 to 6 at fixed moments; step 0 the moment the file first changes, which for a
    // file rewritten in place is while it is half written.
    for (int step = 0; step <= 6; ++step) {
        test::writeFile("x.d", "old");
        int pid = test::startProgram(command);
        if (step == 0) {
            struct stat status;
            auto deadline = std::chrono::steady_clock::now() + 10 * whole;
            while (stat("x.d", &status) == 0 && status.st_size == 3 &&
                   std::chrono::steady_clock::now() < deadline) {
            }
        } else {
            std::this_thread::sleep_for(whole * step / 7);
        }
        kill(pid, SIGINT);
        test::waitProgram(pid);
        std::string text = test::readFile("x.d");
        EXPECT_TRUE(text == "old" || text == complete) << step << ": " << text.size();
        EXPECT_EQ(leftovers({"a.i", "stand-in.log", "x.d"}), std::vector<std::string>{}) << step;
    }
}

#endif

} // namespace
} // namespace zarn
