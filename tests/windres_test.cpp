// zarn-windres's command lines: windres's options as the runs of rc.exe and cvtres.exe.
#include "host/paths.h"
#include "resource/windres_command.h"

#include <gtest/gtest.h>

namespace zarn {
namespace {

TEST(Windres, CommandLines) {
    // "Z:\ws" where Wine shows the POSIX root as Z:, the POSIX environment's folder on Windows.
    const std::string root = toWindowsPath("/ws");
    struct Row {
        const char* why;
        std::vector<std::string> arguments;
        std::vector<std::string> commandLines; // or, with error, the message
        std::string error;
    } rows[] = {
        {"a script to an object: rc.exe, then cvtres.exe, through an intermediate .res",
         {"-i", "app.rc", "-o", "app.o"},
         {"rc.exe /nologo /foapp.o.tmp.res app.rc",
          "cvtres.exe /nologo /machine:X64 /out:app.o app.o.tmp.res"},
         ""},
        {"the files by position, names in Windows form",
         {"/ws/res/app.rc", "out/app.obj"},
         {"rc.exe /nologo /foout\\app.obj.tmp.res " + root + "\\res\\app.rc",
          "cvtres.exe /nologo /machine:X64 /out:out\\app.obj out\\app.obj.tmp.res"},
         ""},
        {"-I -D -U in every spelling go to rc.exe in order; a value with blanks stays one",
         {"-I", "inc", "--include-dir=/ws/b", "-Iz", "-DA=1", "--define", "S=\"x y\"", "-UB",
          "--undefine=C", "--input=a.rc", "--output", "a.o"},
         {"rc.exe /nologo /iinc /i" + root +
              "\\b /iz /dA=1 \"/dS=\\\"x y\\\"\" /uB /uC /foa.o.tmp.res a.rc",
          "cvtres.exe /nologo /machine:X64 /out:a.o a.o.tmp.res"},
         ""},
        {"-O coff and -J rc name the formats the endings do not",
         {"-J", "rc", "-O", "coff", "-i", "app.txt", "-o", "app.bin"},
         {"rc.exe /nologo /foapp.bin.tmp.res app.txt",
          "cvtres.exe /nologo /machine:X64 /out:app.bin app.bin.tmp.res"},
         ""},
        {"a .res output is rc.exe's alone",
         {"app.rc", "app.res"},
         {"rc.exe /nologo /foapp.res app.rc"},
         ""},
        {"a .res input is cvtres.exe's alone, the target choosing the machine",
         {"--target=pe-i386", "app.res", "app.o"},
         {"cvtres.exe /nologo /machine:X86 /out:app.o app.res"},
         ""},
        {"language and code page go to rc.exe; the temporary-file choices change nothing",
         {"-l", "409", "--codepage=65001", "--use-temp-file", "--no-use-temp-file", "a.rc", "a.o"},
         {"rc.exe /nologo /l409 /c65001 /foa.o.tmp.res a.rc",
          "cvtres.exe /nologo /machine:X64 /out:a.o a.o.tmp.res"},
         ""},
        {"an unknown option is refused",
         {"--preprocessor=cpp", "a.rc", "a.o"},
         {},
         "unknown option \"--preprocessor=cpp\""},
        {"a missing value is refused", {"a.rc", "-o"}, {}, "option \"-o\" needs a value"},
        {"no output: windres would write standard output",
         {"a.rc"},
         {},
         "no output file (writing standard output is not supported: use -o)"},
        {"no input: windres would read standard input",
         {"-o", "a.o"},
         {},
         "no input file (reading standard input is not supported: name the file)"},
        {"a third file",
         {"a.rc", "a.o", "b.o"},
         {},
         "a third file \"b.o\" (one input and one output)"},
        {"an object as input",
         {"a.o", "b.res"},
         {},
         "reading a COFF object (\"a.o\") is not supported"},
        {"a script as output",
         {"a.res", "b.rc"},
         {},
         "writing a resource script (\"b.rc\") is not supported"},
        {"nothing to convert",
         {"a.res", "b.res"},
         {},
         "nothing to convert: \"a.res\" and \"b.res\" are in the same format"},
        {"an unknown format",
         {"-O", "elf", "a.rc", "a.o"},
         {},
         "unknown format \"elf\" (rc, res or coff)"},
        {"an unknown target",
         {"-F", "elf64-x86-64", "a.rc", "a.o"},
         {},
         "unknown target \"elf64-x86-64\" (pe-x86-64, pe-i386, pe-aarch64)"},
        {"standard input by name",
         {"-", "a.o"},
         {},
         "standard input and output are not supported: name the files"},
    };
    for (const Row& row : rows) {
        WindresCommand command = windresCommand(row.arguments);
        EXPECT_EQ(command.error, row.error) << row.why;
        EXPECT_EQ(command.commandLines, row.commandLines) << row.why;
    }
}

// The switches that show instead of convert, and the intermediate file that goes afterwards.
TEST(Windres, SwitchesAndIntermediate) {
    EXPECT_TRUE(windresCommand({"--help"}).help);
    EXPECT_TRUE(windresCommand({"-V"}).version);
    EXPECT_TRUE(windresCommand({"-v", "a.rc", "a.o"}).trace);
    EXPECT_TRUE(windresCommand({"--zarndbg", "a.rc", "a.o"}).trace);
    EXPECT_EQ(windresCommand({"a.rc", "a.o"}).intermediateFile, "a.o.tmp.res");
    EXPECT_EQ(windresCommand({"a.rc", "a.res"}).intermediateFile, "");
}

} // namespace
} // namespace zarn
