// What llvm-rc, the compiler that preprocesses for it, and llvm-cvtres receive for rc.exe's
// and cvtres.exe's arguments.
#include "resource_arguments.h"

#include <gtest/gtest.h>

namespace zarn::toolchain {
namespace {

using Words = std::vector<std::string>;

TEST(ResourceArguments, RcRunsAsPreprocessingAndCompiling) {
    struct Row {
        const char* why;
        Words rc;
        Words preprocessing;
        Words compiling;
        std::string error;
    } rows[] = {
        {"the script's directory first, then /i; defines for the preprocessor alone",
         {"/nologo", "/dA=1", "/uB", "/iZ:\\w\\inc", "/foZ:\\w\\out\\a.res", "Z:\\w\\res\\a.rc"},
         {"/nologo", "/P", "/Fi/tmp/p.rc", "/DRC_INVOKED", "/DA=1", "/UB", "/I/w/inc",
          "/Tc/w/res/a.rc"},
         {"/no-preprocess", "/fo", "/w/out/a.res", "/i", "/w/res", "/i", "/w/inc", "/tmp/p.rc"},
         ""},
        {"values as the next argument and in any case; /x to both, /l /n to llvm-rc",
         {"/FO", "a.res", "/I", "inc", "/D", "X", "/X", "/l", "409", "/n", "a.rc"},
         {"/nologo", "/P", "/Fi/tmp/p.rc", "/DRC_INVOKED", "/DX", "/X", "/Iinc", "/Tca.rc"},
         {"/no-preprocess", "/fo", "a.res", "/x", "/l", "409", "/n", "/i", ".", "/i", "inc",
          "/tmp/p.rc"},
         ""},
        {"without /fo the script's name with .res, as rc.exe writes it",
         {"/r", "res\\app.rc"},
         {"/nologo", "/P", "/Fi/tmp/p.rc", "/DRC_INVOKED", "/Tcres/app.rc"},
         {"/no-preprocess", "/fo", "res/app.res", "/i", "res", "/tmp/p.rc"},
         ""},
        {"no script", {"/foa.res"}, {}, {}, "no resource script named"},
        {"two scripts",
         {"a.rc", "b.rc"},
         {},
         {},
         "more than one resource script (\"a.rc\", \"b.rc\")"},
        {"a value missing", {"a.rc", "/fo"}, {}, {}, "option \"/fo\" needs a value"},
    };
    for (const Row& row : rows) {
        RcCommand command = rcCommand(row.rc, "/tmp/p.rc");
        EXPECT_EQ(command.error, row.error) << row.why;
        if (row.error.empty()) {
            EXPECT_EQ(command.preprocessing, row.preprocessing) << row.why;
            EXPECT_EQ(command.compiling, row.compiling) << row.why;
        }
    }
}

// cvtres.exe's file names become POSIX names; its options stay.
TEST(ResourceArguments, CvtresNamesBecomePosix) {
    EXPECT_EQ(cvtresArguments({"/nologo", "/machine:X64", "/out:Z:\\w\\a.o", "out\\a.res"}),
              (Words{"/nologo", "/machine:X64", "/out:/w/a.o", "out/a.res"}));
}

} // namespace
} // namespace zarn::toolchain
