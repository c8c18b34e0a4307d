// clang-cl's /E output rewritten into the form zarn reads from cl.exe, and the response files
// zarn hands the tools.
#include "line_directives.h"
#include "response_files.h"

#include <gtest/gtest.h>

namespace zarn::toolchain {
namespace {

TEST(LineDirectives, WritesNamesAsClDoes) {
    struct Row {
        const char* why;
        std::string clang;
        std::string cl;
    } rows[] = {
        {"absolute names take drive Z: and doubled backslashes", "#line 1 \"/tmp/a.c\"\nint a;\n",
         "#line 1 \"Z:\\\\tmp\\\\a.c\"\nint a;\n"},
        {"relative names stay relative, blanks kept", "#line 7 \"inc dir/a.h\"\n",
         "#line 7 \"inc dir\\\\a.h\"\n"},
        {"pseudo-files are dropped, with their line end",
         "#line 1 \"a.c\"\n#line 1 \"<built-in>\"\n#line 343 \"<built-in>\"\n"
         "#line 1 \"<command line>\"\n#line 2 \"a.c\"\nx\n",
         "#line 1 \"a.c\"\n#line 2 \"a.c\"\nx\n"},
        {"clang's escapes are read back before the name is written again",
         "#line 3 \"/tmp/q\\\"x/a\\\\b.h\"\n", "#line 3 \"Z:\\\\tmp\\\\q\\\"x\\\\a\\\\b.h\"\n"},
        {"octal escapes are bytes", "#line 1 \"/t\\303\\251/a.h\"\n",
         "#line 1 \"Z:\\\\t\xc3\xa9\\\\a.h\"\n"},
        {"indentation, CR LF and a last line without an end survive",
         "  #line 4 \"a/b.c\"\r\n\t#line 5 \"a/c.c\"",
         "  #line 4 \"a\\\\b.c\"\r\n\t#line 5 \"a\\\\c.c\""},
        {"text after the name is kept", "#line 9 \"a/b.c\" 2\n", "#line 9 \"a\\\\b.c\" 2\n"},
        {"lines that are not directives with a name are left alone",
         "#pragma once\n#line 5\n#line \"a/b.c\"\n#linear \"a/b\"\n#line 2 \"a/unclosed\n"
         "s = \"#line 1 \\\"/x\\\"\";\n",
         "#pragma once\n#line 5\n#line \"a/b.c\"\n#linear \"a/b\"\n#line 2 \"a/unclosed\n"
         "s = \"#line 1 \\\"/x\\\"\";\n"},
        {"zero bytes and empty text pass", std::string("a\0b\n", 4), std::string("a\0b\n", 4)},
        {"nothing at all", "", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(clLineDirectives(row.clang), row.cl) << row.why;
}

// gcc mode's markers keep their flags (3: a system header) and name files from the root.
TEST(LineDirectives, GnuMarkersWithAbsoluteNames) {
    struct Row {
        const char* why;
        std::string clang, gnu;
    } rows[] = {
        {"a relative name gets the directory, its flags stay",
         "# 1 \"src/a.c\"\n# 1 \"./inc/a.h\" 1\r\nint a;\n",
         "# 1 \"/w/src/a.c\"\n# 1 \"/w/inc/a.h\" 1\r\nint a;\n"},
        {"absolute names, pseudo-files and other lines are kept",
         "# 1 \"/usr/x.h\" 1 3\n# 1 \"<built-in>\" 2\n#line 3 \"b.c\"\n#pragma once\n",
         "# 1 \"/usr/x.h\" 1 3\n# 1 \"<built-in>\" 2\n#line 3 \"b.c\"\n#pragma once\n"},
        {"escapes are undone and made again", "# 7 \"my \\\"q\\\".h\"\n",
         "# 7 \"/w/my \\\"q\\\".h\"\n"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(gnuLineMarkers(row.clang, "/w"), row.gnu) << row.why;
}

} // namespace
} // namespace zarn::toolchain

namespace zarn::toolchain {
namespace {

// A response file is read as the Microsoft tools read one.
TEST(ResponseFiles, ArgumentsAsTheToolsReadThem) {
    using Words = std::vector<std::string>;
    struct Row {
        std::string text;
        Words words;
    } rows[] = {
        {" /nologo  /OUT:a.exe a.obj", {"/nologo", "/OUT:a.exe", "a.obj"}},
        {"a.obj\r\nb.obj\n\"my c.obj\"\n", {"a.obj", "b.obj", "my c.obj"}},
        {"\xef\xbb\xbf\"/Fomy dir\\x.obj\" \"/DMSG=\\\"hi\\\"\"",
         {"/Fomy dir\\x.obj", "/DMSG=\"hi\""}},
        {"", {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(responseFileArguments(row.text), row.words) << row.text;
}

} // namespace
} // namespace zarn::toolchain
