// Small byte-string helpers used to recognise arguments and to prepare names for make.
// Texts carry no encoding: comparisons are byte by byte, case folding touches ASCII only.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace zarn {

// Removes one trailing "\n", "\r\n" or "\r"; returns whether it removed anything.
bool stripLineEnd(std::string& text);

// The text before the last '/' or '\'; empty when there is none, or only at the first position.
std::string directoryPart(std::string_view path);

// Whole-text equality; with ignoreCase, ASCII letters match in either case.
bool textEquals(std::string_view text, std::string_view literal, bool ignoreCase);

// A copy with a backslash before every space, as make expects in a prerequisite list.
std::string escapeSpaces(std::string_view text);

// A file name as make reads it back in a rule: a blank as "\ ", "$" as "$$" (else it starts a
// variable) and "#" as "\#" (else it starts a comment). Other names come back unchanged.
std::string escapeForMake(std::string_view name);

bool startsWith(std::string_view text, std::string_view prefix);
bool endsWith(std::string_view text, std::string_view suffix);
// Whether the text ends with one of the suffixes.
bool endsWithAny(std::string_view text, std::initializer_list<std::string_view> suffixes);

} // namespace zarn
