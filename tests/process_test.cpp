#include "host/command_line.h"
#include "host/diagnostics.h"
#include "host/process.h"
#include "host/program_end.h"
#include "host/system_error.h"
#include "support.h"

#include <cerrno>
#include <gtest/gtest.h>

#ifdef _WIN32
#include <cstdint>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace zarn {
namespace {

// What the system says when a program is not there: errno ENOENT, ERROR_FILE_NOT_FOUND.
#ifdef _WIN32
const unsigned long missingProgramError = 2;
#else
const unsigned long missingProgramError = ENOENT;
#endif

struct Captured {
    int status;
    std::string out, err;
};

Captured capture(const std::string& commandLine,
                 StandardOutput standardOutput = StandardOutput::pipe) {
    CapturedOutput out, err;
    int status = runExternalProcess(commandLine, out, err, 1, standardOutput);
    return {status, std::string(capturedText(out)), std::string(capturedText(err))};
}

// Both streams are read at once, so a tool that fills one pipe while the other is open never
// deadlocks, and every byte arrives in order on its own stream.
TEST(Process, LargeOutputOnBothStreams) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    const std::size_t size = 6 * 1024 * 1024 + 12345;
    tools.set("STANDIN_FLOOD", std::to_string(size));
    Captured result = capture("cl.exe");
    EXPECT_EQ(result.status, 0);
    ASSERT_EQ(result.out.size(), size);
    ASSERT_EQ(result.err.size(), size);
    EXPECT_TRUE(result.out == test::floodBytes(size, 1));
    EXPECT_TRUE(result.err == test::floodBytes(size, 2));
    // Standard output in a file, read at the end, comes back the same, beyond one read's size.
    Captured inFile = capture("cl.exe", StandardOutput::file);
    EXPECT_EQ(inFile.status, 0);
    EXPECT_TRUE(inFile.out == result.out);
    EXPECT_TRUE(inFile.err == result.err);
}

// The pipes of this process that any child inherits; the runner must add none of its own. (On
// Windows the runner passes on the child's three handles alone, and the stand-in lists none.)
std::string pipesAChildInherits() {
    std::string list;
#ifndef _WIN32
    for (int fd = 3; fd < 1024; ++fd) {
        struct stat status;
        int flags = fcntl(fd, F_GETFD);
        if (flags >= 0 && !(flags & FD_CLOEXEC) && fstat(fd, &status) == 0 &&
            S_ISFIFO(status.st_mode))
            list += std::to_string(fd) + " ";
    }
#endif
    return list;
}

// Streams, exit statuses and zero bytes come back as the tool produced them.
TEST(Process, StreamsAndStatus) {
    test::ScratchDirectory scratch;
    test::writeFile("zeros", std::string("a\0b\0\0c", 6));
    struct Row {
        std::vector<std::pair<const char*, std::string>> settings;
        Captured expected;
    };
    std::vector<Row> rows = {
        {{}, {0, "", ""}},
        {{{"STANDIN_STDOUT", "out"}, {"STANDIN_STDERR", "err"}}, {0, "out", "err"}},
        {{{"STANDIN_STATUS", "3"}, {"STANDIN_STDERR", "bad"}}, {3, "", "bad"}},
        {{{"STANDIN_STATUS", "255"}}, {255, "", ""}},
        {{{"STANDIN_STDOUT_FILE", "zeros"}, {"STANDIN_STDERR_FILE", "zeros"}},
         {0, std::string("a\0b\0\0c", 6), std::string("a\0b\0\0c", 6)}},
        {{{"STANDIN_STDOUT", "line\nCR LF\r\n"}}, {0, "line\nCR LF\r\n", ""}},
        {{{"STANDIN_ECHO_STDIN", "1"}}, {0, "", ""}},
        {{{"STANDIN_LIST_PIPES", "1"}}, {0, pipesAChildInherits(), ""}},
        {{{"STANDIN_STDOUT", "x"}, {"STANDIN_CLOSE_EARLY_MS", "200"}, {"STANDIN_STATUS", "4"}},
         {4, "x", ""}},
    };
#ifndef _WIN32
    rows.push_back({{{"STANDIN_SIGNAL", "9"}}, {128 + 9, "", ""}});
    rows.push_back(
        {{{"STANDIN_STDOUT", "partial"}, {"STANDIN_SIGNAL", "15"}}, {128 + 15, "partial", ""}});
#endif
    for (Row& row : rows) {
        test::StandInTools tools;
        std::string described;
        for (auto& [name, value] : row.settings) {
            tools.set(name, value);
            described += std::string(name) + "=" + value + " ";
        }
        Captured result = capture("link.exe");
        EXPECT_EQ(result.status, row.expected.status) << described;
        EXPECT_EQ(result.out, row.expected.out) << described;
        EXPECT_EQ(result.err, row.expected.err) << described;
    }
}

#ifdef _WIN32
// Only the child's three handles are inherited: an inheritable handle of zarn's own (here an
// event, which the stand-in resets when it can) stays out of the tool's reach.
TEST(Process, OnlyTheStandardHandlesAreInherited) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE event = CreateEventW(&inherited, TRUE, TRUE, nullptr);
    ASSERT_NE(event, nullptr);
    tools.set("STANDIN_RESET_EVENT", std::to_string(reinterpret_cast<std::uintptr_t>(event)));
    EXPECT_EQ(capture("link.exe").status, 0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0) << "the tool reached zarn's event";
    CloseHandle(event);
}
#endif

// The command line reaches the tool as the words it was made of: split by the Windows rules on
// POSIX systems, taken apart by the tool itself on Windows; no shell sees it.
TEST(Process, ArgumentsArriveWhole) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    std::vector<std::string> arguments = {
        "cl.exe",
        "/nologo",
        "my file.c",
        "/DMSG=\"hi there\"",
        "a;b",
        "$HOME",
        "`date`",
        "x|y>z",
        "C:\\dir with blank\\",
        "\xc3\xa4",
        "\xe6\x97\xa5\xce\xa9", // outside any one code page
        "*",
        "'single'",
        "trailing\\",
        "two\\\\",
        "\"",
        "",
        "\\\"q\\",
    };
    std::string commandLine = "cl.exe";
#ifndef _WIN32
    arguments.push_back("\xff bytes that are no UTF-8");
#endif
    for (std::size_t i = 1; i < arguments.size(); ++i)
        appendArgument(commandLine, arguments[i]);
    EXPECT_EQ(capture(commandLine).status, 0);
    ASSERT_EQ(tools.runs().size(), 1u);
    EXPECT_EQ(tools.runs()[0].arguments, arguments);
}

// A program that cannot be started is a fatal report naming the whole command line.
TEST(Process, ProgramNotFound) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    struct Row {
        std::string commandLine, err;
    };
    std::vector<Row> rows = {
        {"no-such-tool.exe /nologo /c",
         "Win32 API FATAL ERROR, CreateProcess(\"no-such-tool.exe /nologo /c\", ...:\n\t" +
             systemErrorReport(missingProgramError)},
    };
#ifndef _WIN32
    rows.push_back(
        {"", "Win32 API FATAL ERROR, CreateProcess(\"\", ...:\n\tNo such file or directory\n"});
    rows.push_back(
        {"./", "Win32 API FATAL ERROR, CreateProcess(\"./\", ...:\n\tPermission denied\n"});
#endif
    for (Row& row : rows) {
        test::Ending ending = test::runToEnd([&] { capture(row.commandLine); });
        EXPECT_EQ(ending.err, row.err);
        EXPECT_EQ(ending.status, 1);
    }
    // A command line far longer than any fixed message buffer is reported whole.
    std::string longLine = "missing.exe " + std::string(100000, 'x');
    testing::internal::CaptureStderr();
    EXPECT_THROW(capture(longLine), ProgramEnd);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(longLine + "\", ...:\n\t"),
              std::string::npos);
}

// The trace line shows the command line before the child starts.
TEST(Process, TraceLine) {
    test::ScratchDirectory scratch;
    test::StandInTools tools;
    tools.set("STANDIN_STDOUT", "tool output");
    traceEnabled = true;
    testing::internal::CaptureStdout();
    Captured result = capture("lib.exe /nologo  x.obj");
    traceEnabled = false;
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Invoking external process: ``lib.exe /nologo  x.obj''\n");
    EXPECT_EQ(result.out, "tool output");
}

} // namespace
} // namespace zarn

namespace zarn {
namespace {

// A report names the operation and the system's text for the error; only a fatal one ends the
// run.
TEST(Diagnostics, Reports) {
    for (bool fatal : {false, true}) {
        test::Ending ending = test::runToEnd([&] {
            restoreSystemError(missingProgramError);
            if (fatal)
                win32FatalError("open(\"%s\")", "x");
            else
                win32Error("open(\"%s\")", "x");
        });
        EXPECT_EQ(ending.err, std::string("Win32 API ") + (fatal ? "FATAL ERROR" : "error") +
                                  ", open(\"x\"):\n\t" + systemErrorReport(missingProgramError));
        EXPECT_EQ(ending.status, fatal ? 1 : -1);
    }
}

} // namespace
} // namespace zarn
