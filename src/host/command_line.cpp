#include "host/command_line.h"

namespace zarn {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool needsQuotes(std::string_view argument) {
    return argument.empty() || argument.find_first_of(" \t\"") != std::string_view::npos;
}

} // namespace

std::string quoteArgument(std::string_view argument) {
    if (!needsQuotes(argument))
        return std::string(argument);
    std::string quoted;
    quoted.reserve(argument.size() + 8);
    quoted += '"';
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quote follows; then each one needs escaping too.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        quoted += c;
        backslashes = 0;
    }
    quoted.append(2 * backslashes, '\\');
    quoted += '"';
    return quoted;
}

void appendArgument(std::string& text, std::string_view argument) {
    text += ' ';
    if (needsQuotes(argument))
        text += quoteArgument(argument);
    else
        text += argument;
}

std::vector<std::string> splitCommandLine(std::string_view commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    std::size_t i = 0;
    while (i < commandLine.size()) {
        char c = commandLine[i];
        if (isBlank(c) && !quoted) {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
            ++i;
            continue;
        }
        inWord = true;
        if (c == '\\') {
            std::size_t run = commandLine.find_first_not_of('\\', i);
            if (run == std::string_view::npos)
                run = commandLine.size();
            std::size_t backslashes = run - i;
            if (run < commandLine.size() && commandLine[run] == '"') {
                // 2n backslashes and a quote: n backslashes, the quote toggles quoting;
                // 2n+1: n backslashes and a literal quote.
                word.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1)
                    word += '"';
                else
                    quoted = !quoted;
                i = run + 1;
            } else {
                word.append(backslashes, '\\');
                i = run;
            }
            continue;
        }
        if (c == '"')
            quoted = !quoted;
        else
            word += c;
        ++i;
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

std::string_view argumentsAfterProgram(std::string_view commandLine, std::size_t programWords) {
    std::size_t at = 0;
    for (std::size_t word = 0; word < programWords; ++word) {
        while (at < commandLine.size() && isBlank(commandLine[at]))
            ++at;
        bool quoted = false;
        for (; at < commandLine.size(); ++at) {
            if (commandLine[at] == '"')
                quoted = !quoted;
            else if (isBlank(commandLine[at]) && !quoted)
                break;
        }
    }
    return commandLine.substr(at);
}

} // namespace zarn
