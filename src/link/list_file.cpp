#include "link/list_file.h"

#include "host/command_line.h"
#include "host/files.h"
#include "host/paths.h"
#include "host/program_end.h"
#include "host/text.h"

#include <cstdio>

namespace zarn {

namespace {

bool onlyBlanks(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A name that means the same wherever the list file lies: from a root, or on a drive.
bool isAbsoluteEntry(std::string_view line) {
    return (!line.empty() && (line[0] == '/' || line[0] == '\\')) ||
           (line.size() >= 2 && isAsciiLetter(line[0]) && line[1] == ':');
}

void appendEntry(std::string& text, std::string_view prefix, const std::string& line) {
    text += ' ';
    if (!isAbsoluteEntry(line)) {
        text += prefix;
        text += line;
    } else if (line[0] == '/' && fileExists(line)) {
        // A POSIX name of a file reaches the tool as every other file name does; a "/" line
        // that names no file may be an option, and stays as written.
        text += quoteArgument(toWindowsPath(line));
    } else {
        text += line;
    }
}

} // namespace

void appendListEntries(std::string& text, std::string_view prefix, std::string_view contents) {
    std::string line;
    std::size_t start = 0;
    while (start < contents.size()) {
        std::size_t end = contents.find('\n', start);
        end = end == std::string_view::npos ? contents.size() : end + 1;
        line.assign(contents.substr(start, end - start));
        start = end;
        while (stripLineEnd(line)) {
        }
        if (!onlyBlanks(line))
            appendEntry(text, prefix, line);
    }
}

std::string listEntryPrefix(std::string_view listFile) {
    std::string prefix = directoryPart(listFile);
    if (prefix.empty())
        return prefix;
    prefix += '/';
    // The entries are command-line text, but the directory in front of them is part of one
    // word: a blank in it must not split the name.
    return quoteArgument(prefix);
}

void appendListFile(std::string& text, const std::string& listFile) {
    std::string contents;
    if (!readWholeFile(listFile, contents)) {
        std::fprintf(stderr, "Couldn't open file '%s'!!\n", listFile.c_str());
        endProgram(1);
    }
    appendListEntries(text, listEntryPrefix(listFile), contents);
}

} // namespace zarn
