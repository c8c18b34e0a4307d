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

// For "x" or "x/rest" (the text after the root), with msysDrives, the position just past x.
std::size_t msysLetterEnd(std::string_view afterRoot) {
    if (afterRoot.empty() || !isAsciiLetter(afterRoot[0]))
        return 0;
    return afterRoot.size() == 1 || isSeparator(afterRoot[1]) ? 1 : 0;
}

// Whether the Windows name lies under the root folder: the length of the root in the name
// (separators collapsed), or 0. A root that is a drive alone holds every name on the drive.
std::size_t rootPrefixLength(std::string_view path, std::string_view root) {
    if (!hasDriveLetter(path) || !hasDriveLetter(root) ||
        asciiLower(path[0]) != asciiLower(root[0]))
        return 0;
    std::size_t at = 2, rootAt = 2;
    while (rootAt < root.size()) {
        if (isSeparator(root[rootAt])) {
            if (at >= path.size() || !isSeparator(path[at]))
                return 0;
            at += leadingSeparators(path.substr(at));
            rootAt += leadingSeparators(root.substr(rootAt));
            continue;
        }
        if (at >= path.size() || asciiLower(path[at]) != asciiLower(root[rootAt]))
            return 0;
        ++at;
        ++rootAt;
    }
    if (root.size() > 2 && at < path.size() && !isSeparator(path[at]))
        return 0;
    return at;
}

} // namespace

std::string toWindowsPath(std::string_view path, const PathConvention& convention) {
    std::string out;
    out.reserve(path.size() + convention.posixRoot.size() + 1);
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
    std::size_t letterEnd = cygdriveLetterEnd(afterRoot);
    if (letterEnd == 0 && convention.msysDrives)
        letterEnd = msysLetterEnd(afterRoot);
    if (letterEnd != 0) {
        out += asciiUpper(afterRoot[letterEnd - 1]);
        out += ":\\";
        afterRoot = afterRoot.substr(letterEnd);
        afterRoot = afterRoot.substr(leadingSeparators(afterRoot));
    } else {
        out = convention.posixRoot;
        out += '\\';
    }
    appendCollapsed(out, afterRoot, '\\');
    return out;
}

std::string toPosixPath(std::string_view path, const PathConvention& convention) {
    std::string out;
    out.reserve(path.size() + 12);
    if (hasDriveLetter(path)) {
        std::size_t root = rootPrefixLength(path, convention.posixRoot);
        std::string_view rest = path.substr(root != 0 ? root : 2);
        if (root == 0) {
            out = convention.drivePrefix;
            out += asciiLower(path[0]);
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
