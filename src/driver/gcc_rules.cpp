// gcc mode: the rows tried before zarn's own table, so that what gcc-style build systems send
// (autotools, libtool, plain Makefiles) means to zarn what it means to gcc.
#include "compile/language_levels.h"
#include "compile/processor_options.h"
#include "driver/classification.h"
#include "driver/classify.h"
#include "driver/gcc_flags.h"
#include "host/files.h"
#include "host/output.h"
#include "host/paths.h"
#include "host/program_end.h"
#include "host/text.h"

#include <iterator>

namespace zarn {

namespace {

[[noreturn]] void answer(std::string_view text) {
    writeOwnOutput(text);
    endProgram(0);
}

// gcc's optimisation levels: "-O0" and "-Og" ask for none, "-Os" and "-Oz" for small code, a
// level above 3 is 3.
struct OptimizeLevel {
    int level; // -1: none
    bool forSize;
};

std::optional<OptimizeLevel> optimizeLevel(std::string_view text) {
    if (!startsWith(text, "-O"))
        return std::nullopt;
    std::string_view level = text.substr(2);
    if (level.empty())
        return OptimizeLevel{1, false};
    if (level == "g")
        return OptimizeLevel{-1, false};
    if (level == "s" || level == "z")
        return OptimizeLevel{-1, true};
    if (level == "fast")
        return OptimizeLevel{3, false};
    if (level.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    bool above3 = level.size() > 1 || level[0] > '3';
    int value = above3 ? 3 : level[0] - '0';
    return OptimizeLevel{value == 0 ? -1 : value, false};
}

bool hasSourceEnding(std::string_view text) {
    return endsWithAny(text, {".c", ".cpp", ".cxx", ".c++", ".cc", ".h", ".C", ".cp", ".CPP",
                              ".CXX", ".i", ".ii"});
}

// The value of an option given attached ("-DX") or as the next argument ("-D X").
std::string attachedOrNext(Classification& c, const Argument& a, std::size_t nameLength) {
    return a.text.size() > nameLength ? a.after(nameLength) : c.takeValue(a);
}

// A file name, relative or a POSIX absolute one: anything but a dash option.
bool isFile(const Argument& a) {
    return !startsWith(a.text, "-");
}

// A file name also where zarn's table would read a Microsoft option: a "/" name with a second
// "/" ("/usr/src/code.inc"), or one that names an existing file.
bool isPath(const Argument& a) {
    return isFile(a) &&
           (!a.isOption || a.text.find('/', 1) != std::string_view::npos || fileExists(a.text));
}

// "-lNAME": looked up once every "-L" is known, as gcc does ("-l:FILE" names the file itself).
// Until then the name the linker would look for holds its place.
void addNamedLibrary(Classification& c, const std::string& name) {
    bool file = startsWith(name, ":");
    std::string windows = toWindowsPath(file ? name.substr(1) : name);
    c.pendingLibraries.push_back(
        {c.compiler.libraries.size(), windows, file, c.archivesOnly, c.wholeArchive});
    std::string placeholder = file ? windows : windows + ".lib";
    c.both([&](Tool& t) { t.addLibrary(placeholder); });
}

void readLinkerWordFor(Classification& c, std::string_view word) {
    LinkerWordResult result;
    readLinkerWord(c.linkerWords, word, result);
    for (const std::string& option : result.options)
        c.addLinkerOption(option);
    for (const std::string& input : result.inputs)
        c.addLinkerOption(c.wholeArchive ? "/WHOLEARCHIVE:" + input : input);
    for (const std::string& library : result.libraries)
        addNamedLibrary(c, library);
    for (LibraryMode mode : result.modes) {
        if (mode == LibraryMode::archivesOnly || mode == LibraryMode::anyLibrary)
            c.archivesOnly = mode == LibraryMode::archivesOnly;
        else
            c.wholeArchive = mode == LibraryMode::wholeArchive;
    }
    for (const std::string& dropped : result.dropped)
        c.dropped.push_back("linker option " + dropped);
}

void readCommaSeparatedLinkerWords(Classification& c, std::string_view list) {
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = std::min(list.find(',', start), list.size());
        // "-Wl," and "-Wl,a,,b" hold empty words, which gcc leaves out.
        if (comma > start)
            readLinkerWordFor(c, list.substr(start, comma - start));
        start = comma + 1;
    }
}

void setLanguage(Classification& c, const std::string& language, const Argument& a) {
    if (language == "c")
        c.language = SourceLanguage::c;
    else if (language == "c++")
        c.language = SourceLanguage::cxx;
    else if (language == "none")
        c.language = SourceLanguage::byEnding;
    else
        c.reject(std::string(a.text) + (a.text == "-x" ? " " + language : ""));
}

// "-MT T" or "-MTT", "-MQ T" or "-MQT": each adds a target to the rule.
void addTarget(Classification& c, const Argument& a) {
    std::string target = attachedOrNext(c, a, 3);
    std::string& targets = c.compiler.dependencies.target;
    if (!targets.empty())
        targets += ' ';
    targets += startsWith(a.text, "-MQ") ? escapeForMake(target) : target;
}

// "-Wp,-MD,FILE" and "-Wp,-MMD,FILE", the dependency options of kernel-style Makefiles.
bool isPreprocessorDependencyOption(std::string_view text) {
    for (std::string_view option : {"-Wp,-MD,", "-Wp,-MMD,"}) {
        if (startsWith(text, option) && text.size() > option.size())
            return true;
    }
    return false;
}

bool isProcessorTableName(std::string_view text) {
    std::string_view value = text.substr(2);
    if (startsWith(value, "cpu="))
        value.remove_prefix(4);
    return value == "i386" || value == "i486" || value == "pentium" || value == "pentiumpro";
}

// "-m…": an instruction set where cl.exe has one; a 32-bit target, which the toolchain does
// not build, refused; any other named in the trace. The table's processors keep its meaning.
void applyMachineOption(Classification& c, const Argument& a) {
    if (a.text == "-m32" || a.text == "-m16" || a.text == "-mx32")
        c.fail("\"" + std::string(a.text) + "\": the toolchain builds 64-bit code only");
    if (std::optional<ProcessorOption> option = processorOption(a.text)) {
        c.instructionSets.add(*option);
        return;
    }
    // An unknown processor would be gcc's error too.
    if (startsWith(a.text, "-march="))
        c.reject(a.text);
    c.dropped.emplace_back(a.text);
}

// Tried in this order, before zarn's own table; an argument no row takes goes on to it.
const Rule rules[] = {
    // What configure scripts ask of a compiler.
    {Applies::option, [](const Argument& a) { return a.text == "--version"; },
     [](Classification&, const Argument&) { answer("zarn " + std::string(versionNumber) + "\n"); },
     Current::unchanged},
    {Applies::option, [](const Argument& a) { return a.text == "-dumpversion"; },
     [](Classification&, const Argument&) { answer(std::string(versionNumber) + "\n"); },
     Current::unchanged},
    {Applies::option, [](const Argument& a) { return a.text == "-dumpmachine"; },
     [](Classification&, const Argument&) { answer("x86_64-pc-windows-msvc\n"); },
     Current::unchanged},
    {Applies::option, [](const Argument& a) { return startsWith(a.text, "-print-prog-name="); },
     [](Classification&, const Argument& a) {
         std::string program = a.after(17);
         answer((program == "ld" ? "link.exe" : program) + "\n");
     },
     Current::unchanged},

    // What distcc's pump mode and icecc ask to learn the compiler's own header directories,
    // which only the compiler behind cl.exe knows: refused, so that they do without.
    {Applies::option, [](const Argument& a) { return a.text == "-v"; },
     [](Classification& c, const Argument&) {
         c.fail("\"-v\": zarn cannot list the compiler's search directories (distcc's pump "
                "mode asks for them; plain distcc needs none)");
     },
     Current::unchanged},

    // Files after "-x c" or "-x c++" are sources of that language whatever their ending.
    {Applies::any,
     [](const Argument& a) {
         return a.language != SourceLanguage::byEnding &&
                (isPath(a) || (isFile(a) && hasSourceEnding(a.text)));
     },
     [](Classification& c, const Argument& a) {
         if (a.language == SourceLanguage::c)
             c.compiler.addCSource(std::string(a.text));
         else
             c.compiler.addCppSource(std::string(a.text));
     },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return startsWith(a.text, "-x"); },
     [](Classification& c, const Argument& a) { setLanguage(c, attachedOrNext(c, a, 2), a); },
     Current::unchanged},
    // The endings gcc knows beside the table's: C++ in capitals, preprocessed C and C++.
    {Applies::any,
     [](const Argument& a) {
         return endsWithAny(a.text, {".C", ".cp", ".CPP", ".CXX", ".ii"}) && isPath(a);
     },
     [](Classification& c, const Argument& a) { c.compiler.addCppSource(std::string(a.text)); },
     Current::compiler},
    {Applies::any, [](const Argument& a) { return endsWith(a.text, ".i") && isPath(a); },
     [](Classification& c, const Argument& a) { c.compiler.addCSource(std::string(a.text)); },
     Current::compiler},

    // Options whose value may be the next argument.
    {Applies::option, [](const Argument& a) { return a.text == "-I"; },
     [](Classification& c, const Argument& a) {
         std::string dir = c.nonEmpty(c.takeValue(a), a.text, "directory");
         c.compiler.addIncludeDir(toWindowsPath(dir));
     },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return startsWith(a.text, "-iquote"); },
     [](Classification& c, const Argument& a) {
         std::string dir = c.nonEmpty(attachedOrNext(c, a, 7), "-iquote", "directory");
         c.compiler.gcc.quoteIncludeDirs.push_back(toWindowsPath(dir));
     },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return startsWith(a.text, "-isystem"); },
     [](Classification& c, const Argument& a) {
         std::string dir = c.nonEmpty(attachedOrNext(c, a, 8), "-isystem", "directory");
         c.compiler.gcc.systemIncludeDirs.push_back(toWindowsPath(dir));
     },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return startsWith(a.text, "-idirafter"); },
     [](Classification& c, const Argument& a) {
         std::string dir = c.nonEmpty(attachedOrNext(c, a, 10), "-idirafter", "directory");
         c.compiler.gcc.includeDirsAfter.push_back(toWindowsPath(dir));
     },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return a.text == "-include"; },
     [](Classification& c, const Argument& a) {
         std::string file = c.nonEmpty(c.takeValue(a), a.text, "file name");
         c.compiler.gcc.forcedIncludes.push_back(toWindowsPath(file));
     },
     Current::compiler},
    // "-D" and "-U" reach the compiler in the order given, as gcc applies them.
    {Applies::option, [](const Argument& a) { return startsWith(a.text, "-D"); },
     [](Classification& c, const Argument& a) {
         std::string name = c.nonEmpty(attachedOrNext(c, a, 2), "-D", "macro name");
         c.compiler.gcc.macros.push_back("/D" + name);
     },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return startsWith(a.text, "-U"); },
     [](Classification& c, const Argument& a) {
         std::string name = c.nonEmpty(attachedOrNext(c, a, 2), "-U", "macro name");
         c.compiler.gcc.macros.push_back("/U" + name);
     },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return a.text == "-L"; },
     [](Classification& c, const Argument& a) {
         std::string dir = toWindowsPath(c.takeValue(a));
         c.both([&](Tool& t) { t.addLibraryDir(dir); });
     },
     Current::unchanged},
    // "-lib" and "-link" stay zarn's switches to the librarian and the linker.
    {Applies::option,
     [](const Argument& a) {
         return startsWith(a.text, "-l") && !textEquals(a.rest, "lib", true) &&
                !textEquals(a.rest, "link", true);
     },
     [](Classification& c, const Argument& a) {
         addNamedLibrary(c, c.nonEmpty(attachedOrNext(c, a, 2), "-l", "library name"));
     },
     Current::unchanged},
    {Applies::option,
     [](const Argument& a) {
         std::string_view text = a.text;
         return (startsWith(text, "-std=") && languageLevel(text.substr(5)).has_value()) ||
                (startsWith(text, "--std=") && languageLevel(text.substr(6)).has_value());
     },
     [](Classification& c, const Argument& a) {
         LanguageLevel level = *languageLevel(a.text.substr(a.text.find('=') + 1));
         (level.cxx ? c.compiler.gcc.cxxStandard : c.compiler.gcc.cStandard) = level.option;
     },
     Current::unchanged},
    {Applies::option, [](const Argument& a) { return optimizeLevel(a.text).has_value(); },
     [](Classification& c, const Argument& a) {
         OptimizeLevel level = *optimizeLevel(a.text);
         c.compiler.optimizeLevel = level.level;
         c.compiler.gcc.optimizeForSize = level.forSize;
     },
     Current::unchanged},

    // Dependency files as gcc writes them.
    {Applies::option, [](const Argument& a) { return a.text == "-MMD"; },
     [](Classification& c, const Argument&) {
         c.compiler.dependencies.generate = true;
         c.compiler.dependencies.userHeadersOnly = true;
     },
     Current::compiler},
    {Applies::option,
     [](const Argument& a) { return startsWith(a.text, "-MT") || startsWith(a.text, "-MQ"); },
     addTarget, Current::compiler},
    {Applies::option, [](const Argument& a) { return startsWith(a.text, "-MF"); },
     [](Classification& c, const Argument& a) {
         c.compiler.dependencies.dependencyFile =
             c.nonEmpty(attachedOrNext(c, a, 3), "-MF", "file name");
     },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return isPreprocessorDependencyOption(a.text); },
     [](Classification& c, const Argument& a) {
         DependencyOptions& request = c.compiler.dependencies;
         request.generate = true;
         request.userHeadersOnly = startsWith(a.text, "-Wp,-MMD,");
         request.dependencyFile = a.after(a.text.find(',', 4) + 1);
     },
     Current::compiler},
    // "-E -P": preprocessed text without line markers.
    {Applies::option, [](const Argument& a) { return a.text == "-P"; },
     [](Classification& c, const Argument&) { c.compiler.gcc.noLineMarkers = true; },
     Current::unchanged},

    // The linker's options, and its module definitions.
    {Applies::option, [](const Argument& a) { return startsWith(a.text, "-Wl,"); },
     [](Classification& c, const Argument& a) {
         readCommaSeparatedLinkerWords(c, a.text.substr(4));
     },
     Current::unchanged},
    // The linker's long options as libtool passes them for a compiler it takes for Microsoft's:
    // without "-Wl,", the value as the next argument or after "=".
    {Applies::option, [](const Argument& a) { return isLongLinkerOption(a.text); },
     [](Classification& c, const Argument& a) {
         readLinkerWordFor(c, a.text);
         if (!c.linkerWords.pending.empty())
             readLinkerWordFor(c, c.takeValue(a));
     },
     Current::unchanged},
    {Applies::option, [](const Argument& a) { return a.text == "-Xlinker"; },
     [](Classification& c, const Argument& a) { readLinkerWordFor(c, c.takeValue(a)); },
     Current::unchanged},
    {Applies::option, [](const Argument& a) { return startsWith(a.text, "/DEF:"); },
     [](Classification& c, const Argument& a) {
         c.addLinkerOption("/DEF:" + toWindowsPath(a.text.substr(5)));
     },
     Current::unchanged},
    {Applies::any, [](const Argument& a) { return isFile(a) && endsWith(a.text, ".def"); },
     [](Classification& c, const Argument& a) {
         c.addLinkerOption("/DEF:" + toWindowsPath(a.text));
     },
     Current::unchanged},

    // Static libraries as gcc-style builds name them ("libcalc.a", "libgreet.dll.a").
    {Applies::any, [](const Argument& a) { return isFile(a) && endsWith(a.text, ".a"); },
     [](Classification& c, const Argument& a) { c.addLibrary(toWindowsPath(a.text)); },
     Current::unchanged},

    // Warnings, code generation and other gcc flags.
    {Applies::option, [](const Argument& a) { return isGccFlag(a.text); }, applyGccFlag,
     Current::unchanged},
    // Processor options; the table's processors ("-mpentium") keep its meaning.
    {Applies::option,
     [](const Argument& a) { return startsWith(a.text, "-m") && !isProcessorTableName(a.text); },
     applyMachineOption, Current::unchanged},
};

} // namespace

RuleTable gccRules() {
    return {std::begin(rules), std::end(rules)};
}

} // namespace zarn
