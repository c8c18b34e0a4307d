#include "link/gnu_linker_options.h"

#include "host/paths.h"
#include "host/text.h"

#include <optional>

namespace zarn {

namespace {

enum class Value { none, text, path };

struct GnuOption {
    std::string_view name;      // as GNU ld spells it
    Value value;                // what follows it: as "=VALUE", attached to a one-letter name, or
                                // as the next word
    std::string_view microsoft; // link.exe's option, followed by the value; empty: none there
};

// ld's options that gcc-style builds pass, and link.exe's equivalents where there are any.
constexpr GnuOption gnuOptions[] = {
    {"--out-implib", Value::path, "/IMPLIB:"},
    {"-e", Value::text, "/ENTRY:"},
    {"--entry", Value::text, "/ENTRY:"},
    {"--subsystem", Value::text, "/SUBSYSTEM:"},
    {"--stack", Value::text, "/STACK:"},
    {"--heap", Value::text, "/HEAP:"},
    {"--image-base", Value::text, "/BASE:"},
    {"-Map", Value::path, "/MAP:"},
    {"-L", Value::path, "/LIBPATH:"},
    {"-u", Value::text, "/INCLUDE:"},
    {"--undefined", Value::text, "/INCLUDE:"},
    {"--gc-sections", Value::none, "/OPT:REF"},
    {"--no-gc-sections", Value::none, "/OPT:NOREF"},
    {"--dynamicbase", Value::none, "/DYNAMICBASE"},
    {"--nxcompat", Value::none, "/NXCOMPAT"},
    {"--large-address-aware", Value::none, "/LARGEADDRESSAWARE"},
    {"--high-entropy-va", Value::none, "/HIGHENTROPYVA"},
    {"--tsaware", Value::none, "/TSAWARE"},
    {"--disable-dynamicbase", Value::none, "/DYNAMICBASE:NO"},
    {"--disable-nxcompat", Value::none, "/NXCOMPAT:NO"},
    {"--disable-large-address-aware", Value::none, "/LARGEADDRESSAWARE:NO"},
    {"--disable-high-entropy-va", Value::none, "/HIGHENTROPYVA:NO"},
    {"--disable-tsaware", Value::none, "/TSAWARE:NO"},
    {"--allow-multiple-definition", Value::none, "/FORCE:MULTIPLE"},
    {"-rpath", Value::text, ""},
    {"-rpath-link", Value::text, ""},
    {"-R", Value::text, ""},
    {"-soname", Value::text, ""},
    {"-h", Value::text, ""},
    {"--version-script", Value::text, ""},
    {"-T", Value::text, ""},
    {"-z", Value::text, ""},
    {"-m", Value::text, ""},
    {"-y", Value::text, ""},
    {"--dynamic-linker", Value::text, ""},
    {"--exclude-libs", Value::text, ""},
    {"--defsym", Value::text, ""},
    {"--output-def", Value::text, ""},
    {"--major-image-version", Value::text, ""},
    {"--minor-image-version", Value::text, ""},
    {"--major-os-version", Value::text, ""},
    {"--minor-os-version", Value::text, ""},
    {"--major-subsystem-version", Value::text, ""},
    {"--minor-subsystem-version", Value::text, ""},
    {"--file-alignment", Value::text, ""},
    {"--section-alignment", Value::text, ""},
    // What link.exe does anyway, or has no choice for: an address of its own for each DLL,
    // import and relocation of data, the SEH flag of x64 images, time stamps.
    {"--enable-auto-image-base", Value::none, ""},
    {"--disable-auto-image-base", Value::none, ""},
    {"--enable-auto-import", Value::none, ""},
    {"--disable-auto-import", Value::none, ""},
    {"--enable-runtime-pseudo-reloc", Value::none, ""},
    {"--disable-runtime-pseudo-reloc", Value::none, ""},
    {"--no-seh", Value::none, ""},
    {"--insert-timestamp", Value::none, ""},
    {"--no-insert-timestamp", Value::none, ""},
    {"--as-needed", Value::none, ""},
    {"--no-as-needed", Value::none, ""},
    {"--no-undefined", Value::none, ""},
};

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isUpperLetter(char c) {
    return c >= 'A' && c <= 'Z';
}

// "/DEF:x.def", "/nologo" and "-NODEFAULTLIB:x": a slash, or a dash and capitals, then letters
// up to a colon or the end. A POSIX path ("/usr/lib/x.a") has a second slash before any colon.
bool isMicrosoftStyle(std::string_view word) {
    if (word.size() < 2 || (word[0] != '/' && word[0] != '-'))
        return false;
    std::string_view name = word.substr(1, word.find(':') - 1);
    if (name.empty())
        return false;
    for (char c : name) {
        if (word[0] == '/' ? !isLetter(c) : !isUpperLetter(c))
            return false;
    }
    return true;
}

struct ModeWord {
    std::string_view word;
    LibraryMode mode;
};

constexpr ModeWord modeWords[] = {
    {"-Bstatic", LibraryMode::archivesOnly},
    {"-dn", LibraryMode::archivesOnly},
    {"-static", LibraryMode::archivesOnly},
    {"-non_shared", LibraryMode::archivesOnly},
    {"-Bdynamic", LibraryMode::anyLibrary},
    {"-dy", LibraryMode::anyLibrary},
    {"-call_shared", LibraryMode::anyLibrary},
    {"--whole-archive", LibraryMode::wholeArchive},
    {"-whole-archive", LibraryMode::wholeArchive},
    {"--no-whole-archive", LibraryMode::memberArchive},
    {"-no-whole-archive", LibraryMode::memberArchive},
};

std::optional<LibraryMode> libraryMode(std::string_view word) {
    for (const ModeWord& mode : modeWords) {
        if (mode.word == word)
            return mode.mode;
    }
    return std::nullopt;
}

const GnuOption* findOption(std::string_view name) {
    for (const GnuOption& option : gnuOptions) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

void applyOption(const GnuOption& option, std::string_view value, LinkerWordResult& result) {
    std::string given(option.name);
    if (option.value != Value::none) {
        given += ' ';
        given += value;
    }
    // "-z muldefs" is "--allow-multiple-definition"; the other keywords have no equivalent.
    if (option.name == "-z" && value == "muldefs") {
        result.options.emplace_back("/FORCE:MULTIPLE");
        return;
    }
    if (option.microsoft.empty()) {
        result.dropped.push_back(given);
        return;
    }
    std::string converted = option.value == Value::path ? toWindowsPath(value) : std::string(value);
    result.options.push_back(std::string(option.microsoft) + converted);
}

} // namespace

bool isLongLinkerOption(std::string_view word) {
    if (!startsWith(word, "--"))
        return false;
    const GnuOption* option = findOption(word.substr(0, word.find('=')));
    bool valueFits = option != nullptr &&
                     (word.find('=') == std::string_view::npos || option->value != Value::none);
    return valueFits || libraryMode(word).has_value();
}

void readLinkerWord(GnuLinkerWords& words, std::string_view word, LinkerWordResult& result) {
    if (!words.pending.empty()) {
        const GnuOption* option = findOption(words.pending);
        words.pending.clear();
        applyOption(*option, word, result);
        return;
    }
    if (const GnuOption* option = findOption(word)) {
        if (option->value == Value::none)
            applyOption(*option, {}, result);
        else
            words.pending = std::string(option->name);
        return;
    }
    std::size_t equals = word.find('=');
    if (equals != std::string_view::npos) {
        if (const GnuOption* option = findOption(word.substr(0, equals))) {
            if (option->value != Value::none) {
                applyOption(*option, word.substr(equals + 1), result);
                return;
            }
        }
    }
    // One-letter options take their value attached too: "-L/opt/lib", "-emain".
    if (word.size() > 2 && word[0] == '-' && word[1] != '-') {
        if (const GnuOption* option = findOption(word.substr(0, 2))) {
            if (option->value != Value::none) {
                applyOption(*option, word.substr(2), result);
                return;
            }
        }
    }
    if (startsWith(word, "-l") && word.size() > 2) {
        result.libraries.emplace_back(word.substr(2));
        return;
    }
    if (std::optional<LibraryMode> mode = libraryMode(word)) {
        result.modes.push_back(*mode);
        return;
    }
    if (isMicrosoftStyle(word)) {
        result.options.push_back(std::string(word));
        return;
    }
    if (startsWith(word, "-")) {
        result.dropped.push_back(std::string(word));
        return;
    }
    result.inputs.push_back(toWindowsPath(word));
}

} // namespace zarn
