#include "compile/dependency_file.h"

#include "compile/system_headers.h"
#include "host/diagnostics.h"
#include "host/files.h"
#include "host/paths.h"
#include "host/process.h"
#include "host/program_end.h"
#include "host/text.h"
#include "tool/launcher.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

namespace zarn {

namespace {

constexpr std::string_view directive = "#line";

std::size_t skipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    return at;
}

} // namespace

std::vector<std::string_view> scanLineDirectives(std::string_view text) {
    std::unordered_set<std::string_view> seen;
    std::vector<std::string_view> names;
    std::size_t at = 0;
    // A directive needs more than its five letters, so shorter rests hold none.
    while (text.size() - at > directive.size()) {
        at = skipBlanks(text, at);
        if (text.compare(at, directive.size(), directive) == 0) {
            std::size_t open = text.find('"', at + directive.size());
            if (open == std::string_view::npos || open + 1 == text.size())
                break;
            std::size_t start = open + 1;
            // The closing quote is looked for from the name's second character on, so a name
            // is never empty; an unclosed name runs to the end of the text.
            std::size_t close = text.find('"', start + 1);
            if (close == std::string_view::npos)
                close = text.size();
            std::string_view name = text.substr(start, close - start);
            if (seen.insert(name).second)
                names.push_back(name);
            at = start;
        }
        at = text.find('\n', at);
        if (at == std::string_view::npos)
            break;
        at = text.find_first_not_of("\r\n", at);
        if (at == std::string_view::npos)
            break;
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string dependencyFileText(std::string_view target, const std::vector<std::string_view>& names,
                               bool phonyTargets, const std::vector<std::string>& sources) {
    std::vector<std::string> written;
    written.reserve(names.size());
    std::size_t size = target.size() + 3;
    for (std::string_view name : names) {
        written.push_back(escapeForMake(toPosixPath(name)));
        size += 2 * written.back().size() + 6;
    }
    std::string text;
    text.reserve(size);
    text.append(target);
    text += ':';
    for (const std::string& name : written) {
        text += " \\\n\t";
        text += name;
    }
    text += "\n\n";
    if (phonyTargets) {
        for (std::size_t i = 0; i < written.size(); ++i) {
            if (std::find(sources.begin(), sources.end(), names[i]) != sources.end())
                continue;
            text += written[i];
            text += ":\n";
        }
    }
    return text;
}

void reportUnwritable(const std::string& file, WriteOutcome outcome) {
    const char* what = outcome == WriteOutcome::closeFailed ? "close" : "write to";
    std::fprintf(stderr, "Couldn't %s ``%s'': %s\n", what, file.c_str(), lastErrorText().c_str());
}

namespace {

bool writeRule(const DependencyOptions& request, const std::vector<std::string_view>& names,
               const std::vector<std::string>& sources = {}) {
    std::string text = dependencyFileText(request.target, names, request.phonyTargets, sources);
    WriteOutcome outcome = writeWholeFile(request.dependencyFile, text);
    if (outcome == WriteOutcome::written)
        return true;
    reportUnwritable(request.dependencyFile, outcome);
    return false;
}

} // namespace

void writeDependencyFile(const DependencyOptions& request,
                         const std::vector<std::string_view>& names) {
    if (!writeRule(request, names))
        endProgram(1);
}

void runDependencyPass(const CompilerArgs& compiler, const Tool& current) {
    const DependencyOptions& request = compiler.dependencies;
    CapturedOutput output, error;
    // Never through a launcher: a compiler cache runs a preprocessing run uncached, and after
    // its own preprocessing.
    int status = runExternalProcess(
        std::string(current.toolName()) + " /nologo /E " + current.buildArguments(), output, error);
    if (status != 0) {
        std::fflush(stdout);
        writeCaptured(stderr, error);
        endProgram(status);
    }
    std::vector<std::string_view> names = scanLineDirectives(capturedText(output));
    if (request.userHeadersOnly)
        names = withoutSystemHeaders(names, systemHeaderDirectories(compiler));
    writeDependencyFile(request, names);
}

void checkDependencyFileWritable(const DependencyOptions& request) {
    if (!canWriteWholeFile(request.dependencyFile)) {
        reportUnwritable(request.dependencyFile, WriteOutcome::openFailed);
        endProgram(1);
    }
}

bool writeDependencyFileFromNotes(const CompilerArgs& compiler,
                                  const std::vector<std::string>& included) {
    // The sources as the compiler was given them, beside the files it included.
    std::vector<std::string> sources;
    for (const auto* list : {&compiler.cSources, &compiler.cppSources})
        for (const std::string& source : *list)
            sources.push_back(toWindowsPath(source));
    std::vector<std::string> headers;
    if (compiler.dependencies.userHeadersOnly)
        headers = withoutSystemHeaders(included, systemHeaderDirectories(compiler));
    const std::vector<std::string>& listed =
        compiler.dependencies.userHeadersOnly ? headers : included;
    std::vector<std::string_view> names(sources.begin(), sources.end());
    names.insert(names.end(), listed.begin(), listed.end());
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return writeRule(compiler.dependencies, names,
                     compiler.gccMode ? sources : std::vector<std::string>());
}

std::vector<std::string> compileOutputs(const CompilerArgs& compiler) {
    // Preprocessed text goes to a file only when gcc mode's "-o" names one.
    if (compiler.preprocessOnly) {
        if (compiler.gcc.preprocessedFile.empty())
            return {};
        return {compiler.gcc.preprocessedFile};
    }
    if (!compiler.outputFile.empty())
        return {compiler.outputFile};
    // Without a name of their own, outputs are named after their source, in the working
    // directory: every object of a compile, the program of a compile that links.
    std::vector<std::string> outputs;
    for (const auto* list : {&compiler.cSources, &compiler.cppSources}) {
        for (const std::string& source : *list) {
            std::string_view base = source;
            base.remove_prefix(std::min(base.size(), base.find_last_of("/\\") + 1));
            base = base.substr(0, base.rfind('.'));
            outputs.push_back(std::string(base) + (compiler.compileOnly ? ".obj" : ".exe"));
            if (!compiler.compileOnly)
                return outputs;
        }
    }
    return outputs;
}

} // namespace zarn
