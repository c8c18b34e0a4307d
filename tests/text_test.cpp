#include "host/text.h"

#include <gtest/gtest.h>

namespace zarn {
namespace {

// One line end at most, with CR LF as one; list files rely on calling it until it fails.
TEST(Text, StripLineEnd) {
    struct Row {
        std::string text, left;
        bool removed;
    } rows[] = {
        {"", "", false},
        {"abc", "abc", false},
        {"abc\n", "abc", true},
        {"abc\r\n", "abc", true},
        {"abc\r", "abc", true},
        {"abc\n\n", "abc\n", true},
        {"abc\n\r", "abc\n", true},
        {"\n", "", true},
        {"\r\n", "", true},
        {"\r\r\n", "\r", true},
    };
    for (Row& row : rows) {
        std::string text = row.text;
        EXPECT_EQ(stripLineEnd(text), row.removed) << row.text;
        EXPECT_EQ(text, row.left) << row.text;
    }
}

// The list file's directory: both separators count, a leading one alone gives nothing.
TEST(Text, DirectoryPart) {
    struct Row {
        std::string path, directory;
    } rows[] = {
        {"", ""},
        {"files.lst", ""},
        {"/files.lst", ""},
        {"\\files.lst", ""},
        {"objs\\files.lst", "objs"},
        {"a/b\\c.lst", "a/b"},
        {"a\\b/c.lst", "a\\b"},
        {"C:\\work\\objs\\files.lst", "C:\\work\\objs"},
        {"C:files.lst", ""},
        {"dir/", "dir"},
        {"//x", "/"},
    };
    for (Row& row : rows)
        EXPECT_EQ(directoryPart(row.path), row.directory) << row.path;
}

// Whole-text comparison; case folding only when asked, and only for ASCII letters.
TEST(Text, TextEquals) {
    struct Row {
        std::string text, literal;
        bool ignoreCase, equal;
    } rows[] = {
        {"LINK", "link", true, true},
        {"LiNk", "link", true, true},
        {"linker", "link", true, false},
        {"lin", "link", true, false},
        {"-md", "-MD", false, false},
        {"-MD", "-MD", false, true},
        {"-MDd", "-MD", false, false},
        {"\xc4", "\xe4", true, false},
        {"", "", true, true},
        {"DLL", "dll", false, false},
    };
    for (Row& row : rows)
        EXPECT_EQ(textEquals(row.text, row.literal, row.ignoreCase), row.equal) << row.text;
}

// make reads a blank as a separator: every space gets a backslash, nothing else changes.
TEST(Text, EscapeSpaces) {
    struct Row {
        std::string text, escaped;
    } rows[] = {
        {"", ""},
        {"a.h", "a.h"},
        {" ", "\\ "},
        {"a  b", "a\\ \\ b"},
        {"/src/my dir/a.h", "/src/my\\ dir/a.h"},
        {"tab\there", "tab\there"},
        {"back\\slash", "back\\slash"},
    };
    for (Row& row : rows)
        EXPECT_EQ(escapeSpaces(row.text), row.escaped) << row.text;
}

// In a rule make reads "$" as a variable and "#" as a comment; names without them, or blanks,
// come back byte for byte.
TEST(Text, EscapeForMake) {
    struct Row {
        std::string text, escaped;
    } rows[] = {
        {"/src/a.h", "/src/a.h"},
        {"/src/my dir/a.h", "/src/my\\ dir/a.h"},
        {"/src/my$dir/cfg.h", "/src/my$$dir/cfg.h"},
        {"/src/C#lib/x.h", "/src/C\\#lib/x.h"},
        {"$$ ##", "$$$$\\ \\#\\#"},
        {"tab\there\\", "tab\there\\"},
    };
    for (Row& row : rows)
        EXPECT_EQ(escapeForMake(row.text), row.escaped) << row.text;
}

// File kinds are recognised by case-sensitive endings; an empty affix always matches.
TEST(Text, StartsAndEndsWith) {
    struct Row {
        std::string text, affix;
        bool starts, ends;
    } rows[] = {
        {"foo.c", ".c", false, true},   {"foo.C", ".c", false, false},
        {".c", ".c", true, true},       {"c", ".c", false, false},
        {"OUT:", "OUT:", true, true},   {"OUT", "OUT:", false, false},
        {"OUT:x", "OUT:", true, false}, {"abc", "", true, true},
        {"", "", true, true},
    };
    for (Row& row : rows) {
        EXPECT_EQ(startsWith(row.text, row.affix), row.starts) << row.text << " " << row.affix;
        EXPECT_EQ(endsWith(row.text, row.affix), row.ends) << row.text << " " << row.affix;
    }
}

} // namespace
} // namespace zarn
