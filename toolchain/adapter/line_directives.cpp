#include "line_directives.h"

#include "host/paths.h"

namespace zarn::toolchain {

namespace {

constexpr std::string_view directive = "#line";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

struct QuotedName {
    std::string name;      // with clang's escapes undone
    std::size_t end = 0;   // just past the closing quote
    bool complete = false; // whether a closing quote was found
};

// Reads the string literal starting at the opening quote. clang escapes '\' and '"' with a
// backslash and writes other unusual bytes as three octal digits.
QuotedName readQuotedName(std::string_view line, std::size_t open) {
    QuotedName quoted;
    std::size_t at = open + 1;
    while (at < line.size()) {
        char c = line[at];
        if (c == '"') {
            quoted.end = at + 1;
            quoted.complete = true;
            return quoted;
        }
        if (c == '\\' && at + 1 < line.size()) {
            if (at + 3 < line.size() && isOctalDigit(line[at + 1]) && isOctalDigit(line[at + 2]) &&
                isOctalDigit(line[at + 3])) {
                int value =
                    (line[at + 1] - '0') * 64 + (line[at + 2] - '0') * 8 + (line[at + 3] - '0');
                quoted.name += static_cast<char>(value);
                at += 4;
                continue;
            }
            quoted.name += line[at + 1];
            at += 2;
            continue;
        }
        quoted.name += c;
        ++at;
    }
    return quoted;
}

// The name as cl.exe quotes it: Windows form, each backslash doubled.
std::string clQuotedName(std::string_view posixName) {
    std::string quoted = "\"";
    for (char c : toWindowsPath(posixName)) {
        if (c == '\\' || c == '"')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

// Appends the line, rewritten if it is a #line directive with a name; false when the line is
// the directive of a pseudo-file and is to be dropped.
bool appendLine(std::string& out, std::string_view line) {
    std::size_t at = 0;
    while (at < line.size() && isBlank(line[at]))
        ++at;
    if (line.compare(at, directive.size(), directive) != 0) {
        out.append(line);
        return true;
    }
    std::size_t number = at + directive.size();
    while (number < line.size() && isBlank(line[number]))
        ++number;
    std::size_t numberEnd = number;
    while (numberEnd < line.size() && isDigit(line[numberEnd]))
        ++numberEnd;
    std::size_t open = numberEnd;
    while (open < line.size() && isBlank(line[open]))
        ++open;
    bool blankAfterDirective = number > at + directive.size();
    if (!blankAfterDirective || numberEnd == number || open >= line.size() || line[open] != '"') {
        out.append(line);
        return true;
    }
    QuotedName quoted = readQuotedName(line, open);
    if (!quoted.complete) {
        out.append(line);
        return true;
    }
    if (!quoted.name.empty() && quoted.name[0] == '<')
        return false;
    out.append(line.substr(0, open));
    out += clQuotedName(quoted.name);
    out.append(line.substr(quoted.end));
    return true;
}

// The name as clang quotes it: '\\' and '"' escaped.
std::string quotedName(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '\\' || c == '"')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

// Appends the line, its name absolute if it is a line marker with a relative one.
void appendMarker(std::string& out, std::string_view line, std::string_view directory) {
    std::size_t number = line.size() > 2 && line[0] == '#' && line[1] == ' ' ? 2 : line.size();
    std::size_t numberEnd = number;
    while (numberEnd < line.size() && isDigit(line[numberEnd]))
        ++numberEnd;
    std::size_t open = numberEnd + 1;
    if (numberEnd == number || open >= line.size() || line[numberEnd] != ' ' || line[open] != '"') {
        out.append(line);
        return;
    }
    QuotedName quoted = readQuotedName(line, open);
    if (!quoted.complete || quoted.name.empty() || quoted.name[0] == '<' || quoted.name[0] == '/') {
        out.append(line);
        return;
    }
    std::string_view name = quoted.name;
    while (name.substr(0, 2) == "./")
        name.remove_prefix(2);
    out.append(line.substr(0, open));
    out += quotedName(std::string(directory) + "/" + std::string(name));
    out.append(line.substr(quoted.end));
}

template <typename AppendLine>
std::string rewriteLines(std::string_view preprocessed, AppendLine appendLine) {
    std::string out;
    out.reserve(preprocessed.size());
    std::size_t start = 0;
    while (start < preprocessed.size()) {
        std::size_t end = preprocessed.find('\n', start);
        end = end == std::string_view::npos ? preprocessed.size() : end + 1;
        std::string_view line = preprocessed.substr(start, end - start);
        std::size_t contentEnd = line.size();
        while (contentEnd > 0 && (line[contentEnd - 1] == '\n' || line[contentEnd - 1] == '\r'))
            --contentEnd;
        if (appendLine(out, line.substr(0, contentEnd)))
            out.append(line.substr(contentEnd));
        start = end;
    }
    return out;
}

} // namespace

std::string gnuLineMarkers(std::string_view preprocessed, std::string_view directory) {
    return rewriteLines(preprocessed, [&](std::string& out, std::string_view line) {
        appendMarker(out, line, directory);
        return true;
    });
}

std::string clLineDirectives(std::string_view preprocessed) {
    return rewriteLines(preprocessed, appendLine);
}

} // namespace zarn::toolchain
