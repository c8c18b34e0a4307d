// gcc mode: the rows tried before zarn's own table, so that what gcc-style build systems send
// (autotools, libtool, plain Makefiles) means to zarn what it means to gcc.
#include "compile/language_levels.h"
#include "driver/classification.h"
#include "driver/classify.h"
#include "host/diagnostics.h"
#include "host/output.h"
#include "host/paths.h"
#include "host/program_end.h"
#include "host/text.h"

#include <cstdio>
#include <initializer_list>
#include <iterator>

namespace zarn {

namespace {

[[noreturn]] void answer(std::string_view text) {
    writeOwnOutput(text);
    endProgram(0);
}

// What a gcc option without a value of its own does.
enum class Effect {
    compilerOption, // cl.exe's option of the same meaning
    linkerOption,   // the linker's option of the same meaning
    dropped,        // no meaning for the Microsoft tools; named in the trace
    debugInfo,      // as "-g"
    noDebugInfo,    // undoes "-g"
    exceptions,     // C++ sources get "/EHsc" (gcc's default)
    noExceptions,   // they do not
    sharedLibrary,  // the program is a DLL
};

struct GccFlag {
    std::string_view gcc;
    bool prefix; // also every option that begins with it
    Effect effect;
    std::string_view microsoft;
};

// Tried in this order: the first row that matches takes the option.
constexpr GccFlag flags[] = {
    {"-Wall", false, Effect::compilerOption, "/W3"},
    {"-Wextra", false, Effect::compilerOption, "/W4"},
    {"-W", false, Effect::compilerOption, "/W4"},
    {"-Werror", false, Effect::compilerOption, "/WX"},
    {"-Wno-error", false, Effect::compilerOption, "/WX-"},
    {"-w", false, Effect::compilerOption, "/w"},
    {"-fexceptions", false, Effect::exceptions, ""},
    {"-fno-exceptions", false, Effect::noExceptions, ""},
    {"-frtti", false, Effect::compilerOption, "/GR"},
    {"-fno-rtti", false, Effect::compilerOption, "/GR-"},
    {"-fstack-protector", true, Effect::compilerOption, "/GS"},
    {"-fno-stack-protector", false, Effect::compilerOption, "/GS-"},
    {"-funsigned-char", false, Effect::compilerOption, "/J"},
    {"-ffast-math", false, Effect::compilerOption, "/fp:fast"},
    {"-ffunction-sections", false, Effect::compilerOption, "/Gy"},
    {"-fdata-sections", false, Effect::compilerOption, "/Gw"},
    {"-fomit-frame-pointer", false, Effect::compilerOption, "/Oy"},
    {"-fno-omit-frame-pointer", false, Effect::compilerOption, "/Oy-"},
    {"-fno-inline", false, Effect::compilerOption, "/Ob0"},
    {"-fopenmp", false, Effect::compilerOption, "/openmp"},
    {"-fsyntax-only", false, Effect::compilerOption, "/Zs"},
    {"-fsanitize=address", false, Effect::compilerOption, "/fsanitize=address"},
    {"-nostdinc", false, Effect::compilerOption, "/X"},
    {"-nostdlib", false, Effect::linkerOption, "/NODEFAULTLIB"},
    {"-nodefaultlibs", false, Effect::linkerOption, "/NODEFAULTLIB"},
    {"-mwindows", false, Effect::linkerOption, "/SUBSYSTEM:WINDOWS"},
    {"-mconsole", false, Effect::linkerOption, "/SUBSYSTEM:CONSOLE"},
    {"-shared", false, Effect::sharedLibrary, ""},
    {"-mdll", false, Effect::sharedLibrary, ""},
    {"-g0", false, Effect::noDebugInfo, ""},
    {"-g1", false, Effect::debugInfo, ""},
    {"-g2", false, Effect::debugInfo, ""},
    {"-g3", false, Effect::debugInfo, ""},
    {"-ggdb", true, Effect::debugInfo, ""},
    {"-gdwarf", true, Effect::debugInfo, ""},
    {"-gcodeview", false, Effect::debugInfo, ""},
    {"-pthread", false, Effect::dropped, ""},
    {"-pipe", false, Effect::dropped, ""},
    {"-pedantic", false, Effect::dropped, ""},
    {"-pedantic-errors", false, Effect::dropped, ""},
    {"-ansi", false, Effect::dropped, ""},
    {"-s", false, Effect::dropped, ""},
    {"-rdynamic", false, Effect::dropped, ""},
    {"-static", false, Effect::dropped, ""},
    {"-static-libgcc", false, Effect::dropped, ""},
    {"-static-libstdc++", false, Effect::dropped, ""},
    {"-shared-libgcc", false, Effect::dropped, ""},
    {"-no-pie", false, Effect::dropped, ""},
    {"-municode", false, Effect::dropped, ""},
    {"-mthreads", false, Effect::dropped, ""},
    {"-Wa,", true, Effect::dropped, ""},
    {"-W", true, Effect::dropped, ""},
    {"-f", true, Effect::dropped, ""},
};

const GccFlag* findFlag(std::string_view text) {
    // Options for the preprocessor change what is compiled: never dropped.
    if (startsWith(text, "-Wp,"))
        return nullptr;
    for (const GccFlag& flag : flags) {
        if (flag.prefix ? startsWith(text, flag.gcc) : text == flag.gcc)
            return &flag;
    }
    return nullptr;
}

void applyFlag(Classification& c, const Argument& a) {
    const GccFlag& flag = *findFlag(a.text);
    GccCompileOptions& gcc = c.compiler.gcc;
    switch (flag.effect) {
    case Effect::compilerOption:
        gcc.options.emplace_back(flag.microsoft);
        break;
    case Effect::linkerOption:
        c.addLinkerOption(std::string(flag.microsoft));
        break;
    case Effect::dropped:
        c.dropped.emplace_back(a.text);
        break;
    case Effect::debugInfo:
    case Effect::noDebugInfo:
        c.both([&](Tool& t) { t.debugInfo = flag.effect == Effect::debugInfo; });
        break;
    case Effect::exceptions:
    case Effect::noExceptions:
        gcc.exceptions = flag.effect == Effect::exceptions;
        break;
    case Effect::sharedLibrary:
        gcc.sharedLibrary = true;
        c.linker.dll = true;
        break;
    }
}

// gcc's optimisation levels: "-O0" and "-Og" ask for none, "-Os" and "-Oz" for small code.
struct OptimizeLevel {
    std::string_view gcc;
    int level;
    bool forSize;
};

constexpr OptimizeLevel optimizeLevels[] = {
    {"-O0", -1, false}, {"-Og", -1, false}, {"-Os", -1, true},    {"-Oz", -1, true},
    {"-O", 1, false},   {"-O1", 1, false},  {"-O2", 2, false},    {"-O3", 3, false},
    {"-O4", 4, false},  {"-O5", 5, false},  {"-O6", 6, false},    {"-O7", 7, false},
    {"-O8", 8, false},  {"-O9", 9, false},  {"-Ofast", 3, false},
};

const OptimizeLevel* findOptimizeLevel(std::string_view text) {
    for (const OptimizeLevel& level : optimizeLevels) {
        if (level.gcc == text)
            return &level;
    }
    return nullptr;
}

bool hasSourceEnding(std::string_view text) {
    return endsWithAny(text, {".c", ".cpp", ".cxx", ".c++", ".cc", ".h"});
}

// The value of an option given attached ("-DX") or as the next argument ("-D X").
std::string attachedOrNext(Classification& c, const Argument& a, std::size_t nameLength) {
    return a.text.size() > nameLength ? a.after(nameLength) : c.takeValue(a);
}

// A file name, relative or a POSIX absolute one: anything but a dash option.
bool isFile(const Argument& a) {
    return !startsWith(a.text, "-");
}

// "-lNAME": NAME.lib as zarn's table looks for it, then the names gcc and its users give
// libraries ("-l:FILE" names the file itself).
void addNamedLibrary(Classification& c, const std::string& name) {
    if (startsWith(name, ":")) {
        c.addLibrary(toWindowsPath(name.substr(1)));
        return;
    }
    std::string windows = toWindowsPath(name);
    c.addLibraryAmong({windows + ".lib", "lib" + windows + ".lib", "lib" + windows + ".dll.a",
                       "lib" + windows + ".a"});
}

void readLinkerWordFor(Classification& c, std::string_view word) {
    LinkerWordResult result;
    readLinkerWord(c.linkerWords, word, result);
    for (const std::string& option : result.options)
        c.addLinkerOption(option);
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

    // Files after "-x c" or "-x c++" are sources of that language whatever their ending.
    {Applies::any,
     [](const Argument& a) {
         return a.language != SourceLanguage::byEnding && isFile(a) &&
                (!a.isOption || hasSourceEnding(a.text));
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

    // Options whose value may be the next argument.
    {Applies::option, [](const Argument& a) { return a.text == "-I"; },
     [](Classification& c, const Argument& a) {
         c.compiler.addIncludeDir(toWindowsPath(c.takeValue(a)));
     },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return a.text == "-iquote"; },
     [](Classification& c, const Argument& a) {
         c.compiler.addIncludeDir(toWindowsPath(c.takeValue(a)));
     },
     Current::compiler},
    {Applies::option,
     [](const Argument& a) {
         return startsWith(a.text, "-isystem") || startsWith(a.text, "-idirafter");
     },
     [](Classification& c, const Argument& a) {
         std::size_t name = startsWith(a.text, "-isystem") ? 8 : 10;
         c.compiler.gcc.systemIncludeDirs.push_back(toWindowsPath(attachedOrNext(c, a, name)));
     },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return a.text == "-include"; },
     [](Classification& c, const Argument& a) {
         c.compiler.gcc.forcedIncludes.push_back(toWindowsPath(c.takeValue(a)));
     },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return startsWith(a.text, "-D"); },
     [](Classification& c, const Argument& a) { c.compiler.addDefine(attachedOrNext(c, a, 2)); },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return startsWith(a.text, "-U"); },
     [](Classification& c, const Argument& a) {
         c.compiler.gcc.undefines.push_back(attachedOrNext(c, a, 2));
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
     [](Classification& c, const Argument& a) { addNamedLibrary(c, attachedOrNext(c, a, 2)); },
     Current::unchanged},
    {Applies::option,
     [](const Argument& a) {
         return startsWith(a.text, "-std=") && languageLevel(a.text.substr(5)).has_value();
     },
     [](Classification& c, const Argument& a) {
         LanguageLevel level = *languageLevel(a.text.substr(5));
         (level.cxx ? c.compiler.gcc.cxxStandard : c.compiler.gcc.cStandard) = level.option;
     },
     Current::unchanged},
    {Applies::option, [](const Argument& a) { return findOptimizeLevel(a.text) != nullptr; },
     [](Classification& c, const Argument& a) {
         const OptimizeLevel& level = *findOptimizeLevel(a.text);
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
    {Applies::option, [](const Argument& a) { return a.text == "-MT" || a.text == "-MQ"; },
     [](Classification& c, const Argument& a) {
         std::string target = c.takeValue(a);
         std::string& targets = c.compiler.dependencies.target;
         if (!targets.empty())
             targets += ' ';
         targets += a.text == "-MQ" ? escapeForMake(target) : target;
     },
     Current::compiler},

    // The linker's options, and its module definitions.
    {Applies::option, [](const Argument& a) { return startsWith(a.text, "-Wl,"); },
     [](Classification& c, const Argument& a) {
         readCommaSeparatedLinkerWords(c, a.text.substr(4));
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
    {Applies::option, [](const Argument& a) { return findFlag(a.text) != nullptr; }, applyFlag,
     Current::unchanged},
};

std::string withSuffix(std::string_view file, std::string_view suffix) {
    std::size_t base = file.find_last_of("/\\");
    base = base == std::string_view::npos ? 0 : base + 1;
    std::size_t dot = file.rfind('.');
    if (dot == std::string_view::npos || dot <= base)
        dot = file.size();
    return std::string(file.substr(0, dot)) + std::string(suffix);
}

// The object a compile writes: the "-o" name with "-c", else the source's own name with
// ".obj", in the working directory, as cl.exe names it.
std::string compiledObject(const CompilerArgs& compiler, const std::string& source) {
    if (compiler.compileOnly && !compiler.outputFile.empty())
        return compiler.outputFile;
    std::string_view name = source;
    std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    return withSuffix(name, ".obj");
}

// gcc names the rule's target and file after the object unless "-MT" and "-MF" say otherwise.
void completeDependencyRequest(Classification& c) {
    CompilerArgs& compiler = c.compiler;
    DependencyOptions& request = compiler.dependencies;
    std::vector<std::string> sources = compiler.cSources;
    sources.insert(sources.end(), compiler.cppSources.begin(), compiler.cppSources.end());
    // A link of objects writes no dependencies, as with gcc.
    if (sources.empty()) {
        request.generate = false;
        return;
    }
    if (!request.target.empty() && !request.dependencyFile.empty())
        return;
    if (sources.size() > 1) {
        std::fprintf(stderr,
                     "%s ERROR: \"-MD\" names its rule after the object of one source; give "
                     "\"-MT\" and \"-MF\", or compile one source at a time\n",
                     c.argv[0]);
        endProgram(1);
    }
    std::string object = compiledObject(compiler, sources.front());
    if (request.target.empty())
        request.target = escapeForMake(object);
    if (request.dependencyFile.empty())
        request.dependencyFile = withSuffix(object, ".d");
}

} // namespace

RuleTable gccRules() {
    return {std::begin(rules), std::end(rules)};
}

void finishGccClassification(Classification& c) {
    if (!c.linkerWords.pending.empty()) {
        std::fprintf(stderr, "%s ERROR: missing argument to \"%s\"\n", c.argv[0],
                     c.linkerWords.pending.c_str());
        endProgram(1);
    }
    CompilerArgs& compiler = c.compiler;
    // gcc writes the preprocessed text to the "-o" file; cl.exe writes it to standard output.
    if (c.current == &compiler && compiler.preprocessOnly && !compiler.outputFile.empty()) {
        compiler.gcc.preprocessedFile = compiler.outputFile;
        compiler.outputFile.clear();
    }
    if (compiler.dependencies.generate)
        completeDependencyRequest(c);
    if (traceEnabled) {
        std::string trace = "gcc mode (" + std::string(gccModeOption) + ")\n";
        for (const std::string& dropped : c.dropped)
            trace += "gcc mode: dropped ``" + dropped + "''\n";
        writeOwnOutput(trace);
    }
}

} // namespace zarn
