// List files: text files whose lines name further inputs of the linker or librarian,
// relative to the list file's directory.
#pragma once

#include <string>
#include <string_view>

namespace zarn {

// Appends, for each line of the contents that holds more than blanks, a blank, the prefix and
// the line without its line end. A line is command-line text: it may name several files. An
// absolute line ("/…", "\\…", "C:…") gets no prefix, and one that names an existing file from
// the POSIX root is written in Windows form, as one word.
void appendListEntries(std::string& text, std::string_view prefix, std::string_view contents);

// What goes before each entry of the list file: its directory and "/", as one word of the
// command line; empty for a list file in the current directory.
std::string listEntryPrefix(std::string_view listFile);

// Reads the list file and appends its entries with the list file's directory as prefix.
// A list file that cannot be read ends the program with "Couldn't open file '...'!!".
void appendListFile(std::string& text, const std::string& listFile);

} // namespace zarn
