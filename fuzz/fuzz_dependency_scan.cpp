// The "#line" scan and the dependency-file text, from an arbitrary preprocessed output (the
// whole input).
//
// Properties: every name is a non-empty piece of the input that follows a double quote and
// ends before the next one (or at the end of the input); the names are distinct and in
// ascending byte order; every well-formed directive line, [blanks]#line[blanks]digits[blanks]
// "name"[blanks][CR], has its name listed, however odd the lines around it are; the file text
// is the target, the rule lines of the names' written forms and, with phony targets, one empty
// rule per name, nothing else.
#include "compile/dependency_file.h"
#include "fuzz_check.h"
#include "host/paths.h"
#include "host/text.h"

#include <algorithm>
#include <cstdint>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::size_t skipBlanks(std::string_view line, std::size_t at) {
    while (at < line.size() && isBlank(line[at]))
        ++at;
    return at;
}

// The name of a well-formed directive line; nothing for any other line.
std::string_view wellFormedName(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    std::size_t at = skipBlanks(line, 0);
    if (line.compare(at, 5, "#line") != 0)
        return {};
    std::size_t digits = skipBlanks(line, at + 5);
    if (digits == at + 5)
        return {};
    at = digits;
    while (at < line.size() && line[at] >= '0' && line[at] <= '9')
        ++at;
    if (at == digits)
        return {};
    std::size_t open = skipBlanks(line, at);
    if (open == at || open == line.size() || line[open] != '"')
        return {};
    std::size_t close = line.find('"', open + 1);
    if (close == std::string_view::npos || close == open + 1)
        return {};
    if (skipBlanks(line, close + 1) != line.size())
        return {};
    return line.substr(open + 1, close - open - 1);
}

void checkNames(std::string_view text, const std::vector<std::string_view>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string_view name = names[i];
        ZARN_FUZZ_CHECK(!name.empty());
        ZARN_FUZZ_CHECK(name.data() > text.data() &&
                        name.data() + name.size() <= text.data() + text.size());
        std::size_t start = static_cast<std::size_t>(name.data() - text.data());
        std::size_t end = start + name.size();
        ZARN_FUZZ_CHECK(text[start - 1] == '"');
        ZARN_FUZZ_CHECK(end == text.size() || text[end] == '"');
        ZARN_FUZZ_CHECK(name.find('"', 1) == std::string_view::npos);
        if (i > 0)
            ZARN_FUZZ_CHECK(names[i - 1] < name);
    }
    std::size_t lineStart = 0;
    while (lineStart <= text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string_view::npos)
            lineEnd = text.size();
        std::string_view name = wellFormedName(text.substr(lineStart, lineEnd - lineStart));
        if (!name.empty())
            ZARN_FUZZ_CHECK(std::binary_search(names.begin(), names.end(), name));
        lineStart = lineEnd + 1;
    }
}

void checkFile(std::string_view target, const std::vector<std::string_view>& names,
               bool phonyTargets) {
    std::string text = zarn::dependencyFileText(target, names, phonyTargets);
    std::string expected = std::string(target) + ":";
    std::string rules;
    for (std::string_view name : names) {
        std::string written = zarn::escapeForMake(zarn::toPosixPath(name));
        expected += " \\\n\t" + written;
        rules += written + ":\n";
    }
    expected += "\n\n";
    if (phonyTargets)
        expected += rules;
    ZARN_FUZZ_CHECK(text == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input itself: libFuzzer allocates it at its exact size, so a read past the end shows.
    std::string_view text = zarn::fuzz::inputText(data, size);
    std::vector<std::string_view> names = zarn::scanLineDirectives(text);
    checkNames(text, names);
    checkFile("foo.obj", names, false);
    checkFile("foo.obj", names, true);
    return 0;
}
