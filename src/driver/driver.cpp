#include "driver/driver.h"

#include "compile/dependency_file.h"
#include "compile/include_notes.h"
#include "compile/object_names.h"
#include "compile/source_output.h"
#include "driver/classify.h"
#include "host/diagnostics.h"
#include "host/environment.h"
#include "host/files.h"
#include "host/process.h"
#include "host/program_end.h"
#include "tool/launcher.h"

#include <cstdio>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zarn {

namespace {

// Writes what the tool wrote: its standard output to the chosen stream, then its standard
// error. Returns false, after saying so, when zarn's own standard output could not take it.
bool forwardOutput(std::FILE* outputStream, const CapturedOutput& output,
                   const CapturedOutput& error) {
    // zarn's own trace lines go first.
    bool written = std::fflush(stdout) == 0 && !std::ferror(stdout);
    std::string writeError = written ? std::string() : lastErrorText();
    if (!writeCaptured(outputStream, output) && outputStream == stdout && written) {
        written = false;
        writeError = lastErrorText();
    }
    writeCaptured(stderr, error);
    if (!written) {
        std::fprintf(stderr, "Couldn't write to ``standard output'': %s\n", writeError.c_str());
        return false;
    }
    return true;
}

int runBareCompiler() {
    CapturedOutput output, error;
    int status = runExternalProcess("cl.exe", output, error);
    if (!forwardOutput(stdout, output, error) && status == 0)
        return 1;
    return status;
}

// Whether the dependencies come from the compile's own include notes rather than from a
// preprocessing run before it: as the build asks; always in gcc mode, whose builds expect one
// compiler run per object (a preprocessing run too, as distcc makes them); and by default
// behind a compiler launcher, which caches compiles but never a preprocessing run. Only the
// compiler gives them.
bool dependenciesFromIncludeNotes(const CompilerArgs& compiler, const Tool& current) {
    if (!compiler.dependencies.generate || &current != &compiler)
        return false;
    if (compiler.gccMode)
        return true;
    std::optional<std::string> way = environmentValue("ZARN_DEPS");
    return !compiler.preprocessOnly &&
           (way == "showincludes" || (!way && !launcherFor(compiler.toolName()).empty()));
}

// gcc's "-E -o FILE": the text goes to the file, whole, and only when preprocessing succeeded.
int writePreprocessedFile(const std::string& file, int status, const CapturedOutput& output,
                          const CapturedOutput& error) {
    std::fflush(stdout);
    writeCaptured(stderr, error);
    if (status != 0)
        return status;
    WriteOutcome outcome = writeWholeFile(file, capturedText(output));
    if (outcome == WriteOutcome::written)
        return 0;
    reportUnwritable(file, outcome);
    return 1;
}

std::string includeNotePrefix() {
    std::optional<std::string> prefix = environmentValue("ZARN_SHOWINCLUDES_PREFIX");
    return prefix && !prefix->empty() ? *prefix : std::string(defaultIncludeNotePrefix);
}

int runFinal(const CompilerArgs& compiler, const Tool& current, bool includeNotes) {
    std::string arguments = " /nologo " + current.buildArguments();
    if (includeNotes) {
        // Before "/link": what follows it is the linker's.
        arguments.insert(arguments.size() - compiler.linkerSection().size(), " /showIncludes");
        checkDependencyFileWritable(compiler.dependencies);
        // The system's headers are many and belong to no project: a compiler that can leave
        // them out of its notes (the LLVM adapter) is asked to; zarn leaves out those it knows.
        if (compiler.dependencies.userHeadersOnly)
            setEnvironmentValue(userHeaderNotesVariable, "user");
    }
    CapturedOutput output, error;
    // Include notes come in hundreds of small writes: into a file, they wake zarn not once each.
    bool preprocessing = &current == &compiler && compiler.preprocessOnly;
    int status =
        runTool(current.toolName(), arguments, output, error,
                includeNotes && !preprocessing ? StandardOutput::file : StandardOutput::pipe);
    // A preprocessing run writes its notes to standard error, beside the text, as cl.exe does.
    std::vector<std::string> included;
    if (includeNotes) {
        CapturedOutput& notes = preprocessing ? error : output;
        notes.size = takeIncludeNotes(notes.bytes, notes.size, includeNotePrefix(), included);
    }
    // A failing tool's output is part of its complaint, except preprocessed text.
    bool forwarded;
    if (preprocessing && !compiler.gcc.preprocessedFile.empty()) {
        status = writePreprocessedFile(compiler.gcc.preprocessedFile, status, output, error);
        forwarded = true;
    } else {
        std::FILE* outputStream = status == 0 || preprocessing ? stdout : stderr;
        forwarded = forwardOutput(outputStream, output, error);
    }
    if (includeNotes && status == 0 && !writeDependencyFileFromNotes(compiler, included)) {
        // A fresh object beside an old rule would look up to date to make, though a header
        // may be missing from the rule: without its rule the object goes, as if not compiled.
        for (const std::string& output : compileOutputs(compiler))
            removeFile(output);
        return 1;
    }
    if (!forwarded && status == 0)
        return 1;
    return status;
}

// gcc mode's "-c" of several sources without "-o": one compile for each object's name, in turn;
// the first that fails ends the run with its status.
int compileEachSource(const char* program, const CompilerArgs& compiler) {
    std::vector<CompilerArgs> compiles = compilesOfEachSource(compiler);
    for (const CompilerArgs& single : compiles) {
        if (std::optional<std::string> source = sourceWrittenOver(single, single)) {
            std::fprintf(stderr, "%s ERROR: input file '%s' is the same as output file\n", program,
                         source->c_str());
            return 1;
        }
    }
    for (const CompilerArgs& single : compiles) {
        if (int status = runFinal(single, single, false); status != 0)
            return status;
    }
    return 0;
}

} // namespace

int runZarn(int argc, char* const* argv) {
    try {
        if (argc <= 1)
            return runBareCompiler();
        CompilerArgs compiler;
        LinkerArgs linker;
        Tool& current = classifyArguments(argc, argv, compiler, linker);
        if (compiler.gcc.objectPerSource && &current == &compiler)
            return compileEachSource(argv[0], compiler);
        if (std::optional<std::string> source = sourceWrittenOver(compiler, current)) {
            std::fprintf(stderr, "%s ERROR: input file '%s' is the same as output file\n", argv[0],
                         source->c_str());
            return 1;
        }
        bool includeNotes = dependenciesFromIncludeNotes(compiler, current);
        if (compiler.dependencies.generate && !includeNotes)
            runDependencyPass(compiler, current);
        return runFinal(compiler, current, includeNotes);
    } catch (const ProgramEnd& end) {
        std::fflush(stdout);
        return end.status;
    } catch (const std::bad_alloc&) {
        // A file or an output too large for memory; the text above needs none.
    } catch (const std::length_error&) {
    }
    std::fflush(stdout);
    std::fprintf(stderr, "%s ERROR: out of memory\n", argc > 0 ? argv[0] : "zarn");
    return 1;
}

} // namespace zarn
