#include "link/list_file.h"

#include "host/command_line.h"
#include "host/files.h"
#include "host/program_end.h"
#include "host/text.h"

#include <cstdio>

namespace zarn {

namespace {

bool onlyBlanks(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
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
        if (onlyBlanks(line))
            continue;
        text += ' ';
        text += prefix;
        text += line;
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
