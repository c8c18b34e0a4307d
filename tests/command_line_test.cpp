#include "host/command_line.h"

#include <gtest/gtest.h>

namespace zarn {
namespace {

// Plain words pass byte for byte; only blanks, tabs and quotes bring quoting.
TEST(CommandLine, QuoteArgument) {
    struct Row {
        std::string argument, quoted;
    } rows[] = {
        {"/Tca.c", "/Tca.c"},
        {"Z:\\tmp\\a.c", "Z:\\tmp\\a.c"},
        {"a\\\\b\\", "a\\\\b\\"},
        {"", "\"\""},
        {"/Fomy dir\\x.obj", "\"/Fomy dir\\x.obj\""},
        {"/DMSG=\"hi\"", "\"/DMSG=\\\"hi\\\"\""},
        {"tab\there", "\"tab\there\""},
        {"dir with blank\\", "\"dir with blank\\\\\""},
        {"a\\\"b", "\"a\\\\\\\"b\""},
        {"$x;`y`", "$x;`y`"},
    };
    for (Row& row : rows)
        EXPECT_EQ(quoteArgument(row.argument), row.quoted) << row.argument;
}

// The Windows C runtime's rules, as the runner hands words to the tool.
TEST(CommandLine, SplitCommandLine) {
    using Words = std::vector<std::string>;
    struct Row {
        std::string text;
        Words words;
    } rows[] = {
        {"", {}},
        {"   \t ", {}},
        {"cl.exe /nologo  /c", {"cl.exe", "/nologo", "/c"}},
        {"a\tb", {"a", "b"}},
        {"\"a b\" c", {"a b", "c"}},
        {"x\"a b\"y", {"xa by"}},
        {"\"\"", {""}},
        {"a \"\" b", {"a", "", "b"}},
        {"a\\\\b", {"a\\\\b"}},
        {"a\\\"b", {"a\"b"}},
        {"a\\\\\"b c\"", {"a\\b c"}},
        {"a\\\\\\\"b", {"a\\\"b"}},
        {"\"unterminated b", {"unterminated b"}},
        {"trailing\\", {"trailing\\"}},
        {"$HOME;rm `x`", {"$HOME;rm", "`x`"}},
    };
    for (Row& row : rows)
        EXPECT_EQ(splitCommandLine(row.text), row.words) << row.text;
}

// Splitting the quoted form of any argument list gives the list back.
TEST(CommandLine, QuotedListsSplitBack) {
    using Words = std::vector<std::string>;
    Words lists[] = {
        {"cl.exe", "/nologo", "/c"},
        {"", "a", ""},
        {"my file.obj", "/DMSG=\"hi there\"", "C:\\dir with blank\\", "\\\\server\\x"},
        {"\"", "\\", "\\\"", "\" \"", "a\\\\\"\\", "\t", " "},
        {"new\nline", "semi;colon", "dollar$", "\xff\xfe"},
    };
    for (const Words& words : lists) {
        std::string text;
        for (const std::string& word : words)
            appendArgument(text, word);
        EXPECT_EQ(splitCommandLine(text), words) << text;
        // What a response file gets: the words after the program name, and nothing else.
        std::string withProgram = "\"my tool.exe\"" + text;
        EXPECT_EQ(splitCommandLine(argumentsAfterProgram(withProgram)), words) << withProgram;
        // Behind a launcher, the words after the launcher and the tool it starts.
        std::string launched = " \"my cache.exe\"\tcl.exe" + text;
        EXPECT_EQ(splitCommandLine(argumentsAfterProgram(launched, 2)), words) << launched;
    }
}

} // namespace
} // namespace zarn
