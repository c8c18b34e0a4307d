// build/zarn against tools and inputs that misbehave: each case ends with a defined status and
// message, loses no byte and never involves a shell.
#include "host/command_line.h"
#include "support.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <iostream>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace zarn {
namespace {

const std::string zarn = ZARN_PROGRAM;

using Settings = std::vector<std::pair<const char*, std::string>>;

struct Outcome {
    test::ProgramResult result;
    std::vector<test::ToolRun> runs;
};

// Runs zarn in the current directory with the stand-in tools set up as the settings say.
Outcome runZarn(const std::vector<std::string>& arguments, const Settings& settings = {}) {
    test::StandInTools tools;
    for (const auto& [name, value] : settings)
        tools.set(name, value);
    std::vector<std::string> command{zarn};
    command.insert(command.end(), arguments.begin(), arguments.end());
    test::ProgramResult result = test::runProgram(command);
    return {result, tools.runs()};
}

[[maybe_unused]] std::string describe(const std::vector<std::string>& arguments) {
    std::string described;
    for (const std::string& argument : arguments)
        described += "'" + argument.substr(0, 40) + (argument.size() > 40 ? "...' " : "' ");
    return described;
}

// A tool that floods both streams at once, is killed, or closes its streams and runs on: zarn
// passes on every byte it got, by the usual forwarding rule, and the tool's status (128+n for
// signal n) once the tool has ended.
TEST(Faults, MisbehavingTools) {
    const std::size_t flood = 64 * 1024 * 1024;
    const std::string out = test::floodBytes(flood, 1), err = test::floodBytes(flood, 2);
    struct Row {
        std::vector<std::string> arguments;
        Settings settings;
        int status;
        std::string out, err;
    };
    std::vector<Row> rows = {
        // 64 MB on each stream, interleaved, to standard output and error...
        {{"-c", "a.c"}, {{"STANDIN_FLOOD", std::to_string(flood)}}, 0, out, err},
        // ... and, from a failing tool, both to standard error in order
        {{"-c", "a.c"},
         {{"STANDIN_FLOOD", std::to_string(flood)}, {"STANDIN_STATUS", "2"}},
         2,
         "",
         out + err},
        // streams closed early, the status comes only when the tool ends
        {{"-c", "a.c"},
         {{"STANDIN_STDOUT", "early\n"},
          {"STANDIN_CLOSE_EARLY_MS", "300"},
          {"STANDIN_STATUS", "0"}},
         0,
         "early\n",
         ""},
        {{"-c", "a.c"},
         {{"STANDIN_STDERR", "early\n"},
          {"STANDIN_CLOSE_EARLY_MS", "300"},
          {"STANDIN_STATUS", "5"}},
         5,
         "",
         "early\n"},
    };
#ifndef _WIN32
    std::vector<Row> killed = {
        // killed after writing: what it wrote before is kept
        {{"-c", "a.c"},
         {{"STANDIN_STDOUT", "partial"}, {"STANDIN_STDERR", "err"}, {"STANDIN_SIGNAL", "9"}},
         128 + 9,
         "",
         "partialerr"},
        {{"-E", "a.c"},
         {{"STANDIN_STDOUT", "# 1 \"a.c\"\n"}, {"STANDIN_SIGNAL", "15"}},
         128 + 15,
         "# 1 \"a.c\"\n",
         ""},
        {{"a.o", "-link"}, {{"STANDIN_SIGNAL", "2"}}, 128 + 2, "", ""},
        {{"-c", "a.c"},
         {{"STANDIN_CLOSE_EARLY_MS", "100"}, {"STANDIN_SIGNAL", "15"}},
         128 + 15,
         "",
         ""},
    };
    rows.insert(rows.end(), killed.begin(), killed.end());
#endif
    test::ScratchDirectory scratch;
    for (Row& row : rows) {
        std::string described;
        for (auto& [name, value] : row.settings)
            described += std::string(name) + "=" + value + " ";
        Outcome outcome = runZarn(row.arguments, row.settings);
        EXPECT_EQ(outcome.result.status, row.status) << described;
        EXPECT_EQ(outcome.result.out.size(), row.out.size()) << described;
        EXPECT_TRUE(outcome.result.out == row.out) << described;
        EXPECT_EQ(outcome.result.err.size(), row.err.size()) << described;
        EXPECT_TRUE(outcome.result.err == row.err) << described;
        EXPECT_EQ(outcome.runs.size(), 1u) << described;
    }
}

#ifndef _WIN32
// A list file zarn cannot read stops the run before any tool starts. Permissions do not stop a
// privileged user (root) from reading, so there the locked file is read like any other.
TEST(Faults, UnreadableListFiles) {
    test::ScratchDirectory scratch;
    test::writeFile("locked.lst", "a.obj\n");
    chmod("locked.lst", 0);
    mkdir("closed", 0755);
    test::writeFile("closed/f.lst", "b.obj\n");
    chmod("closed", 0);
    int probe = open("locked.lst", O_RDONLY);
    bool permissionsStopReads = probe < 0;
    if (probe >= 0)
        close(probe);
    if (!permissionsStopReads)
        std::cout << "note: running with privileges that read any file; the unreadable list "
                     "files are expected to be read\n";
    struct Row {
        std::vector<std::string> arguments;
        std::string err;        // when permissions stop reads
        std::string privileged; // the tool's arguments when they do not
    } rows[] = {
        {{"locked.lst"},
         "Couldn't open file 'locked.lst'!!\n",
         "link.exe /nologo /INCREMENTAL:NO a.obj"},
        {{"x.obj", "closed/f.lst", "-lib"},
         "Couldn't open file 'closed\\f.lst'!!\n",
         "lib.exe /nologo closed/b.obj x.obj"},
    };
    for (Row& row : rows) {
        Outcome outcome = runZarn(row.arguments);
        if (permissionsStopReads) {
            EXPECT_EQ(outcome.result.status, 1) << describe(row.arguments);
            EXPECT_EQ(outcome.result.err, row.err);
            EXPECT_TRUE(outcome.runs.empty()) << describe(row.arguments);
        } else {
            EXPECT_EQ(outcome.result.status, 0) << describe(row.arguments);
            ASSERT_EQ(outcome.runs.size(), 1u) << describe(row.arguments);
            EXPECT_EQ(test::joinArguments(outcome.runs[0]), row.privileged);
        }
    }
    chmod("closed", 0755);
}
#endif

#ifndef _WIN32
// A stop signal sent to zarn alone reaches the tool: zarn waits for it, then ends by that
// signal (a shell shows 128+n, and a script stops as for any command ended by Ctrl-C), and no
// tool is left running. Ctrl-C in make, which signals the whole process group, ends both.
TEST(Faults, StopSignalsReachTheTool) {
    test::ScratchDirectory scratch;
    struct Row {
        int signal;
        bool wholeGroup;
    } rows[] = {
        {SIGTERM, false}, {SIGINT, false}, {SIGHUP, false}, {SIGQUIT, false}, {SIGINT, true}};
    for (Row& row : rows) {
        test::StandInTools tools;
        tools.set("STANDIN_PID_FILE", "tool.pid");
        tools.set("STANDIN_SLEEP_MS", "20000");
        std::remove("tool.pid");
        int pid = test::startProgram({zarn, "-c", "a.c"}, row.wholeGroup);
        std::string toolPid;
        for (int i = 0; i < 1000 && toolPid.empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            toolPid = test::readFile("tool.pid");
        }
        ASSERT_FALSE(toolPid.empty()) << "the tool did not start";
        kill(row.wholeGroup ? -pid : pid, row.signal);
        int status = test::waitProgram(pid);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == row.signal)
            << row.signal << ": " << status;
        EXPECT_TRUE(kill(std::stoi(toolPid), 0) != 0 && errno == ESRCH)
            << "the tool outlived zarn after signal " << row.signal;
    }
}
#endif

#ifndef _WIN32
// A list file that never ends (a device) is refused, memory running out is one line and status
// 1, not an abort, and a FIFO is read to its end. Memory limits do not mix with valgrind or the
// sanitizers, so those rows run only in the plain build.
TEST(Faults, EndlessListFilesAndMemory) {
    test::ScratchDirectory scratch;
    symlink("/dev/zero", "zero.lst");
    test::writeFile("big.lst", "");
    ASSERT_EQ(truncate("big.lst", 1L << 30), 0); // sparse: a gigabyte of nothing
    mkfifo("fifo.lst", 0600);
    std::thread writer([] { test::writeFile("fifo.lst", "a.obj\n"); });
    Outcome fifo = runZarn({"fifo.lst", "-lib"});
    writer.join();
    EXPECT_EQ(fifo.result.status, 0) << fifo.result.err;
    ASSERT_EQ(fifo.runs.size(), 1u);
    EXPECT_EQ(test::joinArguments(fifo.runs[0]), "lib.exe /nologo a.obj");

#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "memory limits and the address sanitizer do not mix";
#endif
    if (std::getenv("ZARN_TEST_WRAPPER") != nullptr)
        GTEST_SKIP() << "memory limits and a wrapper such as valgrind do not mix";
    struct Row {
        std::string listFile, err;
    } rows[] = {
        {"zero.lst", "Couldn't open file 'zero.lst'!!\n"},
        {"big.lst", zarn + " ERROR: out of memory\n"},
    };
    for (Row& row : rows) {
        test::StandInTools tools;
        test::ProgramResult result =
            test::runProgram({"prlimit", "--as=400000000", zarn, row.listFile, "-lib"});
        EXPECT_EQ(result.status, 1) << row.listFile;
        EXPECT_EQ(result.err, row.err);
        EXPECT_TRUE(tools.runs().empty()) << row.listFile;
    }
}
#endif

#ifndef _WIN32
// zarn's own lines that cannot be written are a failure, not a silent success.
TEST(Faults, OwnOutputToFullDisk) {
    test::ScratchDirectory scratch;
    for (const char* arguments : {"--zarnversion", "--zarndbg -c a.c"}) {
        test::StandInTools tools;
        test::ProgramResult result = test::runProgram(
            {"sh", "-c", "exec \"$0\" " + std::string(arguments) + " >/dev/full", zarn});
        EXPECT_EQ(result.status, 1) << arguments;
        EXPECT_EQ(result.err, "Couldn't write to ``standard output'': No space left on device\n");
        EXPECT_TRUE(tools.runs().empty()) << arguments;
    }
}
#endif

#ifndef _WIN32
// A Windows command line or environment variable holds at most 32,767 characters, so this
// test is for POSIX systems; long tool command lines on Windows go through response files.
// Arguments of 100 KB, 10,000 arguments and a LIB of 100 KB reach the tool whole and in order.
TEST(Faults, LargeCommandLines) {
    const std::string big(100 * 1024, 'v');
    const std::string bigDir = "/" + std::string(100 * 1024 - 1, 'd');
    std::vector<std::string> manyObjects, manyDefines;
    for (int i = 0; i < 10000; ++i) {
        manyObjects.push_back("obj/o" + std::to_string(i) + ".obj");
        manyDefines.push_back("-DN" + std::to_string(i));
    }
    std::vector<std::string> linkArguments = manyObjects;
    linkArguments.push_back("-link");
    std::vector<std::string> linkExpected = {"link.exe", "/nologo", "/INCREMENTAL:NO"};
    for (const std::string& object : manyObjects)
        linkExpected.push_back("obj\\" + object.substr(4));
    std::vector<std::string> compileArguments = manyDefines;
    compileArguments.push_back("a.c");
    std::vector<std::string> compileExpected = {"cl.exe", "/nologo"};
    for (const std::string& define : manyDefines)
        compileExpected.push_back("/" + define.substr(1));
    compileExpected.push_back("/Tca.c");
    std::vector<std::string> manyDirectories;
    std::string manyDirectoriesLib;
    for (int i = 0; i < 1000; ++i) {
        std::string dir = "libdir" + std::to_string(i) + std::string(90, 'x');
        manyDirectories.push_back("-L" + dir);
        manyDirectoriesLib += (i ? ";" : "") + dir;
    }
    manyDirectories.push_back("-link");

    struct Row {
        std::vector<std::string> arguments;
        std::optional<std::string> startupLib;
        std::vector<std::string> toolArguments;
        std::optional<std::string> toolLib;
    } rows[] = {
        {{"-c", "-DBIG=" + big, "a.c"},
         std::nullopt,
         {"cl.exe", "/nologo", "/c", "/DBIG=" + big, "/Tca.c"},
         ""},
        {{"-c", "-o", big + ".obj", "x/" + big + ".c"},
         std::nullopt,
         {"cl.exe", "/nologo", "/c", "/Fo" + big + ".obj", "/Tcx\\" + big + ".c"},
         ""},
        {{"-I" + bigDir, "a.c"},
         std::nullopt,
         {"cl.exe", "/nologo", "/IZ:\\" + bigDir.substr(1), "/Tca.c"},
         ""},
        {linkArguments, std::nullopt, linkExpected, ""},
        {compileArguments, std::nullopt, compileExpected, ""},
        {{"-Lx", "-link"}, big, {"link.exe", "/nologo", "/INCREMENTAL:NO"}, big + ";x"},
        {{"-c", "a.c"}, big, {"cl.exe", "/nologo", "/c", "/Tca.c"}, big},
        {{"-L" + bigDir, "-link"},
         std::nullopt,
         {"link.exe", "/nologo", "/INCREMENTAL:NO"},
         "Z:\\" + bigDir.substr(1)},
        {manyDirectories,
         std::nullopt,
         {"link.exe", "/nologo", "/INCREMENTAL:NO"},
         manyDirectoriesLib},
    };
    test::ScratchDirectory scratch;
    for (Row& row : rows) {
        test::ScopedEnvironment lib("LIB", row.startupLib);
        Outcome outcome = runZarn(row.arguments);
        EXPECT_EQ(outcome.result.status, 0) << describe(row.arguments);
        EXPECT_EQ(outcome.result.err, "") << describe(row.arguments);
        ASSERT_EQ(outcome.runs.size(), 1u) << describe(row.arguments);
        EXPECT_TRUE(outcome.runs[0].arguments == row.toolArguments) << describe(row.arguments);
        EXPECT_TRUE(outcome.runs[0].lib == row.toolLib) << describe(row.arguments);
    }
}
#endif

#ifndef _WIN32
// What the system refuses to start for its environment (a LIB beyond its limit of 128 KiB for
// one string) is zarn's fatal report with the whole command line, status 1, and no tool run.
TEST(Faults, BeyondSystemLimits) {
    test::ScratchDirectory scratch;
    Outcome outcome = runZarn(
        {"-L" + std::string(100 * 1024, 'a'), "-L" + std::string(100 * 1024, 'b'), "-link"});
    EXPECT_EQ(outcome.result.status, 1);
    EXPECT_EQ(outcome.result.out, "");
    EXPECT_EQ(outcome.result.err, "Win32 API FATAL ERROR, CreateProcess(\"link.exe /nologo  "
                                  "/INCREMENTAL:NO\", ...:\n\tArgument list too long\n");
    EXPECT_TRUE(outcome.runs.empty());
}
#endif

// A command line longer than the system takes (on Linux one argument over 128 KiB or more than
// 2 MB in all, on Windows more than 32,767 characters) reaches the tool as "@file": the
// arguments, exactly as zarn wrote them, in a temporary file that is gone afterwards, whatever
// the tool's status.
TEST(Faults, ResponseFileForLongCommandLines) {
    test::ScratchDirectory scratch;
    // Where response files go: TMPDIR on POSIX systems, TMP on Windows.
    test::ScopedEnvironment temporary("TMPDIR", scratch.path());
    test::ScopedEnvironment windowsTemporary("TMP", scratch.path());
    test::ScopedEnvironment lib("LIB", std::nullopt);
    const std::string huge = std::string(200 * 1024, 'o') + ".obj";
    test::writeFile("huge.lst", huge + "\n");
    // Over 2 MB in all, from a list file, as a link of thousands of objects gets it.
    std::string lines, manyText = " /nologo  \"/OUT:my app.exe\" /INCREMENTAL:NO";
    for (int i = 0; i < 20000; ++i) {
        std::string object = std::string(140, 'x') + std::to_string(i) + ".obj";
        lines += object + "\n";
        manyText += " " + object;
    }
    lines += "\"my \\\"odd\\\" \xc3\xa4.obj\"\n";
    manyText += " \"my \\\"odd\\\" \xc3\xa4.obj\"";
    test::writeFile("many.lst", lines);
    const std::vector<std::string> many{"many.lst", "-o", "my app.exe"};
    struct Row {
        std::vector<std::string> arguments;
        Settings settings;
        int status;
        std::string responseFile;
    } rows[] = {
        {{"huge.lst"}, {}, 0, " /nologo  /INCREMENTAL:NO " + huge},
        {many, {}, 0, manyText},
        {{"huge.lst"}, {{"STANDIN_STATUS", "3"}}, 3, " /nologo  /INCREMENTAL:NO " + huge},
    };
    for (Row& row : rows) {
        Outcome outcome = runZarn(row.arguments, row.settings);
        EXPECT_EQ(outcome.result.status, row.status);
        EXPECT_EQ(outcome.result.err, "");
        ASSERT_EQ(outcome.runs.size(), 1u);
        const test::ToolRun& run = outcome.runs[0];
        ASSERT_EQ(run.arguments.size(), 2u);
        EXPECT_EQ(run.arguments[0], "link.exe");
        EXPECT_EQ(run.arguments[1].substr(0, 2), "@" + scratch.windowsPath().substr(0, 1));
        EXPECT_TRUE(run.responseFile == row.responseFile);
        EXPECT_EQ(splitCommandLine(run.responseFile.value_or("")).back(),
                  row.arguments == many ? "my \"odd\" \xc3\xa4.obj" : huge);
        EXPECT_EQ(test::directoryNames("."),
                  (std::vector<std::string>{"huge.lst", "many.lst", "stand-in.log"}));
    }
    // The trace shows the command line zarn composed, then the one that ran.
    Outcome traced = runZarn({"--zarndbg", "huge.lst"});
    std::string out = traced.result.out;
    EXPECT_EQ(out.substr(0, out.find(huge)), "LIB==''\nInvoking external process: ``link.exe "
                                             "/nologo  /INCREMENTAL:NO ");
    EXPECT_EQ(out.substr(out.find(huge) + huge.size()),
              "''\nInvoking external process: ``link.exe " + traced.runs.at(0).arguments.at(1) +
                  "''\n");
}

#ifndef _WIN32
// Names with blanks, quotes, backslashes, semicolons, dollar signs, shell syntax and non-ASCII
// bytes reach the tool as one argument each, byte for byte, and name the files zarn writes
// itself; no shell ever sees them.
TEST(Faults, OddFileNames) {
    test::ScratchDirectory scratch;
    const std::string odd = "my \"odd\" $dir;x\\\xc3\xa4\xff b";
    mkdir("sub $x;\"q\" \xe4", 0755);
    test::writeFile("sub $x;\"q\" \xe4/f.lst", "a.obj\n\"b c.obj\"\n");
    // Windows names hold no double quote, so the compiler's names have none either.
    test::writeFile("a.i", "#line 1 \"Z:\\\\src\\\\odd $x; \xe4.h\"\n");
    struct Row {
        std::vector<std::string> arguments;
        std::vector<std::string> toolArguments;
        std::optional<std::string> toolLib;
    } rows[] = {
        {{"-c", odd + ".c", "-o", odd + ".obj"},
         {"cl.exe", "/nologo", "/c", "/Fo" + odd + ".obj", "/Tc" + odd + ".c"},
         ""},
        {{"-c", "/tmp/" + odd + "/a.cpp", "-I" + odd + "/inc dir/", "-D" + odd},
         {"cl.exe", "/nologo", "/c", "/D" + odd, "/I" + odd + "\\inc dir\\",
          "/TpZ:\\tmp\\" + odd + "\\a.cpp"},
         ""},
        {{"$(touch pwned).obj", "`touch pwned`.o", "a;touch pwned.obj", "*.obj", "-link"},
         {"link.exe", "/nologo", "/INCREMENTAL:NO", "$(touch pwned).obj", "`touch pwned`.o",
          "a;touch pwned.obj", "*.obj"},
         ""},
        {{"-L/opt/$lib;dir", "-L" + odd, "-lm", "/OUT:" + odd + ".exe", "x.obj"},
         {"link.exe", "/nologo", "/OUT:" + odd + ".exe", "/INCREMENTAL:NO", "x.obj", "m.lib"},
         "Z:\\opt\\$lib;dir;" + odd},
        {{"sub $x;\"q\" \xe4/f.lst", "-lib"},
         {"lib.exe", "/nologo", "sub $x;\"q\" \xe4/a.obj", "sub $x;\"q\" \xe4/b c.obj"},
         ""},
    };
    for (Row& row : rows) {
        Outcome outcome = runZarn(row.arguments);
        EXPECT_EQ(outcome.result.status, 0) << describe(row.arguments);
        EXPECT_EQ(outcome.result.err, "") << describe(row.arguments);
        ASSERT_EQ(outcome.runs.size(), 1u) << describe(row.arguments);
        EXPECT_EQ(outcome.runs[0].arguments, row.toolArguments);
        EXPECT_EQ(outcome.runs[0].lib, row.toolLib);
    }

    // The dependency file and its target take such names too; a backslash in the file's name
    // would be read as a Windows separator.
    const std::string depFile = "dep $x;\"q\" \xe4\xff.d";
    Outcome outcome = runZarn({"-c", "a.c", "-MD", "-MF", depFile, "-MT", odd + ".obj", "-MP"},
                              {{"STANDIN_PREPROCESSED_FILE", "a.i"}});
    EXPECT_EQ(outcome.result.status, 0);
    EXPECT_EQ(outcome.runs.size(), 2u);
    EXPECT_EQ(test::readFile(depFile),
              odd + ".obj: \\\n\t/src/odd\\ $$x;\\ \xe4.h\n\n/src/odd\\ $$x;\\ \xe4.h:\n");

    struct stat status;
    EXPECT_NE(stat("pwned", &status), 0) << "a shell ran a command hidden in a name";
}
#endif

} // namespace
} // namespace zarn

namespace zarn {
namespace {

#ifndef _WIN32
// A standard output that zarn inherits non-blocking (a parent set O_NONBLOCK on the pipe) and
// that fills up: zarn waits for the reader instead of failing or dropping the rest, whether it
// copies the output (small) or hands it over by reference (large).
TEST(Faults, NonBlockingStandardOutput) {
    for (std::size_t size : {std::size_t{512 * 1024 + 3}, std::size_t{8 * 1024 * 1024 + 3}}) {
        test::ScratchDirectory scratch;
        test::StandInTools tools;
        test::ScopedEnvironment lib("LIB", std::nullopt);
        tools.set("STANDIN_FLOOD", std::to_string(size));
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        ASSERT_EQ(fcntl(ends[1], F_SETFL, O_NONBLOCK), 0);
        // Full before zarn starts, so that even its trace lines have to wait.
        std::string filled;
        for (ssize_t count; (count = write(ends[1], "f", 1)) == 1;)
            filled += 'f';
        int devNull = open("/dev/null", O_WRONLY);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, devNull, STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, ends[0]);
        std::string program = zarn;
        std::vector<char*> argv = {program.data(), const_cast<char*>("--zarndbg"),
                                   const_cast<char*>("-c"), const_cast<char*>("a.c"), nullptr};
        pid_t child;
        ASSERT_EQ(posix_spawn(&child, zarn.c_str(), &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(ends[1]);
        close(devNull);
        usleep(300 * 1000); // let the pipe fill before anything is read
        std::string received;
        std::string block(65536, '\0');
        ssize_t count;
        while ((count = read(ends[0], block.data(), block.size())) > 0)
            received.append(block.data(), static_cast<std::size_t>(count));
        close(ends[0]);
        int status = -1;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << size << ": " << status;
        std::string expected = filled +
                               "LIB==''\nInvoking external process: ``cl.exe /nologo  /c "
                               "/Tca.c''\n" +
                               test::floodBytes(size, 1);
        EXPECT_EQ(received.size(), expected.size());
        EXPECT_TRUE(received == expected) << size;
    }
}
#endif

} // namespace
} // namespace zarn
