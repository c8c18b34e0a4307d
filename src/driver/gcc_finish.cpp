// gcc mode, once every argument is read: what depends on the whole command line (libraries,
// instruction sets, the defaults of "-MD" and "-E -o"), and the trace of what it left out.
#include "compile/include_path.h"
#include "compile/object_names.h"
#include "compile/processor_options.h"
#include "driver/classification.h"
#include "driver/classify.h"
#include "host/diagnostics.h"
#include "host/environment.h"
#include "host/output.h"
#include "host/program_end.h"
#include "host/text.h"
#include "tool/library_path.h"
#include "tool/library_search.h"

#include <algorithm>

namespace zarn {

namespace {

std::string_view baseName(std::string_view file) {
    std::size_t slash = file.find_last_of("/\\");
    return slash == std::string_view::npos ? file : file.substr(slash + 1);
}

std::string withSuffix(std::string_view file, std::string_view suffix) {
    std::size_t base = file.size() - baseName(file).size();
    std::size_t dot = file.rfind('.');
    if (dot == std::string_view::npos || dot <= base)
        dot = file.size();
    return std::string(file.substr(0, dot)) + std::string(suffix);
}

// The file make knows the compile by, as gcc 12 names the rule: the object a compile writes
// (the "-o" name with "-c", else gcc's object name, also for "-E"), or the program a compile that
// links writes (the "-o" name, else the source's name, as cl.exe names it).
std::string ruleTarget(const CompilerArgs& compiler, std::string_view source) {
    bool links = !compiler.compileOnly && !compiler.preprocessOnly;
    if (!compiler.outputFile.empty() && (compiler.compileOnly || links))
        return compiler.outputFile;
    if (!links)
        return gccObjectName(source);
    return withSuffix(baseName(source), compiler.gcc.sharedLibrary ? ".dll" : ".exe");
}

// Where gcc 12 writes the rule: beside the "-o" file (also with "-E") under its name with ".d";
// without "-o", for a compile beside its object, for a compile that links "a-SOURCE.d" (after
// gcc's own "a.out").
std::string dependencyFileName(const CompilerArgs& compiler, std::string_view source) {
    bool links = !compiler.compileOnly && !compiler.preprocessOnly;
    if (!compiler.gcc.preprocessedFile.empty())
        return withSuffix(compiler.gcc.preprocessedFile, ".d");
    if (!compiler.outputFile.empty() || !links)
        return withSuffix(ruleTarget(compiler, source), ".d");
    return "a-" + withSuffix(baseName(source), ".d");
}

std::vector<std::string> compiledSources(const CompilerArgs& compiler) {
    std::vector<std::string> sources = compiler.cSources;
    sources.insert(sources.end(), compiler.cppSources.begin(), compiler.cppSources.end());
    return sources;
}

// gcc names the object of a compile without "-o" after its source, with ".o": one source gets
// that name as its output, several are compiled one at a time, each to its own.
void nameObjects(Classification& c) {
    CompilerArgs& compiler = c.compiler;
    std::vector<std::string> sources = compiledSources(compiler);
    if (!compiler.compileOnly || compiler.preprocessOnly || !compiler.outputFile.empty() ||
        sources.empty())
        return;
    if (sources.size() == 1) {
        compiler.outputFile = gccObjectName(sources.front());
        return;
    }
    // Each compile would write the one "-MF" file over the last one's.
    if (compiler.dependencies.generate)
        c.fail("\"-MD\" with several sources compiled to their own objects; compile one source "
               "at a time");
    compiler.gcc.objectPerSource = true;
}

// Whether the compiler links: a compile that is not "-c", "-E" or "-fsyntax-only", of something.
bool compilerLinks(const CompilerArgs& compiler) {
    bool checksOnly = std::any_of(compiler.gcc.options.begin(), compiler.gcc.options.end(),
                                  [](const GccFamilyOption& o) { return o.option == "/Zs"; });
    bool hasInput = !compiledSources(compiler).empty() || !compiler.objectFiles.empty() ||
                    !compiler.libraries.empty();
    return !compiler.compileOnly && !compiler.preprocessOnly && !checksOnly && hasInput;
}

bool namesStack(const std::vector<std::string>& options) {
    return std::any_of(options.begin(), options.end(), [](const std::string& option) {
        return option.size() > 7 && (option[0] == '/' || option[0] == '-') &&
               textEquals(std::string_view(option).substr(1, 6), "STACK:", true);
    });
}

// GNU ld reserves 2 MiB of stack for a Windows program, link.exe 1 MiB: code written for gcc
// may count on the larger one (deep recursion). A size the build gives itself wins.
void reserveGnuStack(Classification& c) {
    bool links = c.current == &c.linker ? !c.linker.buildLibrary : compilerLinks(c.compiler);
    if (!links || namesStack(c.linker.extraOptions) || namesStack(c.compiler.extraOptions) ||
        namesStack(c.compiler.gcc.linkerOptions))
        return;
    c.addLinkerOption("/STACK:" + std::string(gnuStackReserve));
}

void completeDependencyRequest(Classification& c) {
    CompilerArgs& compiler = c.compiler;
    DependencyOptions& request = compiler.dependencies;
    std::vector<std::string> sources = compiledSources(compiler);
    // A link of objects writes no dependencies, as with gcc.
    if (sources.empty()) {
        request.generate = false;
        return;
    }
    if (!request.target.empty() && !request.dependencyFile.empty())
        return;
    if (sources.size() > 1)
        c.fail("\"-MD\" names its rule after the object of one source; give \"-MT\" and \"-MF\", "
               "or compile one source at a time");
    if (request.target.empty())
        request.target = escapeForMake(ruleTarget(compiler, sources.front()));
    if (request.dependencyFile.empty())
        request.dependencyFile = dependencyFileName(compiler, sources.front());
}

// Every "-L" applies to every "-l": the directories in the order given, then LIB's.
void findPendingLibraries(Classification& c) {
    if (c.pendingLibraries.empty())
        return;
    std::vector<std::string> dirs = c.compiler.libraryDirs;
    if (savedLibPath) {
        for (std::string& entry : searchPathEntries(*savedLibPath))
            dirs.push_back(std::move(entry));
    }
    std::vector<std::size_t> linkedWhole;
    for (const PendingLibrary& library : c.pendingLibraries) {
        std::vector<std::string> names =
            library.file ? std::vector<std::string>{library.name}
                         : gccLibraryNames(library.name, library.archivesOnly || c.staticLinking);
        std::optional<std::string> found = findInDirectories(dirs, names);
        std::string path = found ? *found : c.compiler.libraries[library.index];
        if (library.wholeArchive) {
            c.addLinkerOption("/WHOLEARCHIVE:" + path);
            linkedWhole.push_back(library.index);
            continue;
        }
        c.both([&](Tool& t) { t.libraries[library.index] = path; });
    }
    // Linked whole, a library is the linker's option rather than one of the libraries.
    for (auto index = linkedWhole.rbegin(); index != linkedWhole.rend(); ++index)
        c.both([&](Tool& t) { t.libraries.erase(t.libraries.begin() + *index); });
}

} // namespace

void finishGccClassification(Classification& c) {
    if (!c.linkerWords.pending.empty()) {
        std::fprintf(stderr, "%s ERROR: missing argument to \"%s\"\n", c.argv[0],
                     c.linkerWords.pending.c_str());
        endProgram(1);
    }
    CompilerArgs& compiler = c.compiler;
    bool compilerRuns = c.current == &compiler;
    if (compilerRuns && (compiler.compileOnly || compiler.preprocessOnly) &&
        !compiler.outputFile.empty() && compiledSources(compiler).size() > 1)
        c.fail("cannot specify \"-o\" with \"-c\" or \"-E\" with multiple files");
    // gcc writes the preprocessed text to the "-o" file ("-" for standard output); cl.exe
    // writes it to standard output.
    if (compilerRuns && compiler.preprocessOnly && !compiler.outputFile.empty()) {
        if (compiler.outputFile != "-")
            compiler.gcc.preprocessedFile = compiler.outputFile;
        compiler.outputFile.clear();
    }
    if (compilerRuns)
        nameObjects(c);
    findPendingLibraries(c);
    reserveGnuStack(c);
    compiler.gcc.architecture = std::string(architectureOption(c.instructionSets.chosen()));
    if (!compiler.gcc.includeDirsAfter.empty())
        compiler.gcc.startupInclude = environmentValue("INCLUDE");
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
