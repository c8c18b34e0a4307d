// Command-line text as Windows programs read it: words separated by blanks and tabs, double
// quotes grouping, backslashes escaping a quote. zarn writes every tool argument in this form,
// and the process runner splits the text back into arguments with the same rules.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The argument as one word of a command line: unchanged unless it is empty or holds a blank,
// a tab or a double quote; then quoted so that splitCommandLine gives the argument back.
std::string quoteArgument(std::string_view argument);

// Appends a blank and the quoted argument: one piece of a tool's argument text.
void appendArgument(std::string& text, std::string_view argument);

// The words of a command line, by the Windows C runtime's rules.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

// What follows the program words of a command line, from the blank after them: the first word
// (the program name), or the first two when a launcher starts the tool named after it.
std::string_view argumentsAfterProgram(std::string_view commandLine, std::size_t programWords = 1);

} // namespace zarn
