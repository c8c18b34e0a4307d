// The built program, run as a build script runs it.
#include "support.h"

#include <gtest/gtest.h>

namespace zarn {
namespace {

const std::string zarn = ZARN_PROGRAM;

// What zarn prints and returns before any tool runs.
TEST(Program, VersionAndUnknownOptions) {
    struct Row {
        std::vector<std::string> arguments;
        std::string out, err;
        int status;
    } rows[] = {
        {{"--zarnversion"}, "$Revision: 1.45 $\n", "", 0},
        {{"-c", "a.c", "--zarnversion", "-Wall"}, "$Revision: 1.45 $\n", "", 0},
        {{"-c", "a.c", "-Wall"}, "", zarn + " ERROR: unknown option \"-Wall\"\n", 1},
        {{"-"}, "", zarn + " ERROR: unknown option \"-\"\n", 1},
        {{"-c", "-o"}, "", zarn + " ERROR: missing argument to \"-o\"\n", 1},
    };
    for (Row& row : rows) {
        std::vector<std::string> command{zarn};
        command.insert(command.end(), row.arguments.begin(), row.arguments.end());
        test::ProgramResult result = test::runProgram(command);
        EXPECT_EQ(result.out, row.out) << row.arguments[0];
        EXPECT_EQ(result.err, row.err) << row.arguments[0];
        EXPECT_EQ(result.status, row.status) << row.arguments[0];
    }
}

} // namespace
} // namespace zarn
