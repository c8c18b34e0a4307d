#include "host/paths.h"

namespace zarn {

namespace {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool hasDriveLetter(std::string_view path) {
    return path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':';
}

std::size_t leadingSeparators(std::string_view path) {
    std::size_t count = 0;
    while (count < path.size() && isSeparator(path[count]))
        ++count;
    return count;
}

// Appends the text with each run of separators written as one `separator`.
void appendCollapsed(std::string& out, std::string_view text, char separator) {
    bool afterSeparator = false;
    for (char c : text) {
        if (isSeparator(c)) {
            if (!afterSeparator)
                out += separator;
            afterSeparator = true;
        } else {
            out += c;
            afterSeparator = false;
        }
    }
}

// For "cygdrive/x" or "cygdrive/x/rest" (the text after the root), the position just past x.
std::size_t cygdriveLetterEnd(std::string_view afterRoot) {
    static constexpr std::string_view prefix = "cygdrive";
    if (afterRoot.compare(0, prefix.size(), prefix) != 0)
        return 0;
    std::size_t letter = prefix.size() + leadingSeparators(afterRoot.substr(prefix.size()));
    if (letter == prefix.size() || letter >= afterRoot.size() || !isAsciiLetter(afterRoot[letter]))
        return 0;
    std::size_t end = letter + 1;
    if (end < afterRoot.size() && !isSeparator(afterRoot[end]))
        return 0;
    return end;
}

} // namespace

std::string toWindowsPath(std::string_view path) {
    std::string out;
    out.reserve(path.size() + 3);
    if (hasDriveLetter(path)) {
        out.append(path.substr(0, 2));
        appendCollapsed(out, path.substr(2), '\\');
        return out;
    }
    std::size_t lead = leadingSeparators(path);
    // Exactly two leading separators name a network share; POSIX reads three or more as root.
    if (lead == 2 || (lead > 2 && path[0] == '\\' && path[1] == '\\')) {
        out = "\\\\";
        appendCollapsed(out, path.substr(lead), '\\');
        return out;
    }
    if (lead == 0) {
        appendCollapsed(out, path, '\\');
        return out;
    }
    std::string_view afterRoot = path.substr(lead);
    if (std::size_t letterEnd = cygdriveLetterEnd(afterRoot)) {
        out += asciiUpper(afterRoot[letterEnd - 1]);
        out += ":\\";
        afterRoot = afterRoot.substr(letterEnd);
        afterRoot = afterRoot.substr(leadingSeparators(afterRoot));
    } else {
        out = "Z:\\";
    }
    appendCollapsed(out, afterRoot, '\\');
    return out;
}

std::string toPosixPath(std::string_view path) {
    std::string out;
    out.reserve(path.size() + 12);
    if (hasDriveLetter(path)) {
        char drive = asciiLower(path[0]);
        std::string_view rest = path.substr(2);
        if (drive != 'z') {
            out = "/cygdrive/";
            out += drive;
        }
        if (rest.empty() || !isSeparator(rest[0]))
            out += '/';
        appendCollapsed(out, rest, '/');
        return out;
    }
    std::size_t lead = leadingSeparators(path);
    if (lead >= 2) {
        out = "//";
        appendCollapsed(out, path.substr(lead), '/');
        return out;
    }
    appendCollapsed(out, path, '/');
    return out;
}

} // namespace zarn
