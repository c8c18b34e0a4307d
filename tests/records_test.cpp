#include "support.h"

#include <gtest/gtest.h>

namespace zarn {
namespace {

using test::classifyToText;

void makeLibrary(const std::string& path) {
    std::string dir = path.substr(0, path.rfind('/'));
    if (dir != path)
        test::makeDirectory(dir);
    test::writeFile(path, "lib");
}

// Libraries resolve against the directories given before them, the last one first, and a
// file that exists under its own name wins. Windows-form candidates are tested as POSIX names.
TEST(Records, ResolveLibrary) {
    test::ScratchDirectory scratch;
    makeLibrary("one/m.lib");
    makeLibrary("two/m.lib");
    makeLibrary("one/own.lib");
    makeLibrary("own.lib");
    makeLibrary("libs/x.lib");
    std::string here = scratch.posixPath();
    std::string hereWindows = scratch.windowsPath();

    struct Row {
        std::vector<std::string> arguments;
        std::string libraries;
    } rows[] = {
        {{"-Lone", "-Ltwo", "-lm"}, "two\\m.lib"},
        {{"-Ltwo", "-Lone", "-lm"}, "one\\m.lib"},
        {{"-lm", "-Lone"}, "m.lib"},
        {{"-Lone", "-lown"}, "own.lib"},
        {{"-Lone", "own.lib"}, "own.lib"},
        {{"-Lone/", "-lm"}, "one\\m.lib"},
        {{"-Lone\\", "-lm"}, "one\\m.lib"},
        {{"-L" + here + "/two", "-lm"}, hereWindows + "\\two\\m.lib"},
        {{"-L" + here + "/two/", "-lm"}, hereWindows + "\\two\\m.lib"},
        {{"-Lone", "-L", "-lm"}, "one\\m.lib"},
        {{"-L", "-lnothere"}, "nothere.lib"},
        {{"libs/x.lib"}, "libs\\x.lib"},
        {{"-Llibs", "x.lib"}, "libs\\x.lib"},
        {{"-Lnone", "-lm", "-lm"}, "m.lib,m.lib"},
    };
    for (Row& row : rows) {
        std::string text = classifyToText(row.arguments);
        std::string expected = "libraries=[" + row.libraries + "]";
        std::size_t split = text.find(" | L:");
        ASSERT_NE(split, std::string::npos) << text;
        EXPECT_NE(text.find(expected), std::string::npos) << row.arguments[0] << ": " << text;
        EXPECT_NE(text.find(expected, split), std::string::npos) << "linker: " << text;
    }
}

// The linker record names the librarian once it is asked to build a library.
TEST(Records, ToolNames) {
    CompilerArgs compiler;
    LinkerArgs linker;
    EXPECT_STREQ(compiler.toolName(), "cl.exe");
    EXPECT_STREQ(linker.toolName(), "link.exe");
    linker.buildLibrary = true;
    EXPECT_STREQ(linker.toolName(), "lib.exe");
}

} // namespace
} // namespace zarn
