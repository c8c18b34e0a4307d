#include "compile/compiler_args.h"
#include "compile/include_path.h"
#include "host/command_line.h"
#include "host/paths.h"
#include "host/text.h"
#include "tool/launcher.h"

#include <algorithm>

namespace zarn {

namespace {

bool isAmong(const std::string& dir, const std::vector<std::string>& dirs) {
    return std::find(dirs.begin(), dirs.end(), dir) != dirs.end();
}

bool namesExceptionModel(const std::vector<std::string>& options) {
    return std::any_of(options.begin(), options.end(), [](const std::string& option) {
        return startsWith(option, "/EH") || startsWith(option, "-EH");
    });
}

} // namespace

std::string CompilerArgs::buildArguments() const {
    std::string text;
    bool compiles = !cSources.empty() || !cppSources.empty() || !headers.empty();
    bool links = !compileOnly && !preprocessOnly;
    if (preprocessOnly)
        appendArgument(text, gcc.noLineMarkers ? "/EP" : "/E");
    if (compileOnly)
        appendArgument(text, "/c");
    if (gcc.optimizeForSize) {
        appendArgument(text, "/O1");
    } else if (optimizeLevel >= 0) {
        // cl.exe has no graded levels that match gcc's; every level asks for the same set.
        appendArgument(text, "/Ogityb2");
        appendArgument(text, "/Gs");
    }
    if (!cpuOption.empty())
        appendArgument(text, "/" + cpuOption);
    // gcc's "-g" puts the debug information in the object, as "/Z7" does; a compiler cache
    // keeps only the object, so behind a launcher too. "/Zi" writes a separate database.
    if (debugInfo)
        appendArgument(text, gccMode || !launcherFor(toolName()).empty() ? "/Z7" : "/Zi");
    if (!outputFile.empty())
        appendArgument(text, (compileOnly ? "/Fo" : "/Fe") + outputFile);
    if (!pdbFile.empty())
        appendArgument(text, "/Fd" + pdbFile);
    // gcc mode's compile options, only where something is compiled: a link takes none.
    if (compiles) {
        if (!gcc.cStandard.empty() && !cSources.empty())
            appendArgument(text, gcc.cStandard);
        if (!gcc.cxxStandard.empty() && !cppSources.empty())
            appendArgument(text, gcc.cxxStandard);
        if (gcc.noWarnings)
            appendArgument(text, "/w");
        else if (gcc.warningLevel > 0)
            appendArgument(text, "/W" + std::to_string(gcc.warningLevel));
        for (const GccFamilyOption& option : gcc.options)
            appendArgument(text, option.option);
        if (!gcc.architecture.empty())
            appendArgument(text, gcc.architecture);
        // gcc compiles C++ with exceptions that may pass through extern "C" functions (callbacks
        // of C interfaces); cl.exe needs asking, and "/EHsc" would assume they never do.
        if (gccMode && gcc.exceptions && !cppSources.empty() && !namesExceptionModel(extraOptions))
            appendArgument(text, "/EHs");
    }
    if (gcc.sharedLibrary && links)
        appendArgument(text, "/LD");
    // Lets headers tell a gcc-mode compile, as mingw's predefined macros let them tell mingw,
    // and give what a mingw-hosted project expects beyond Microsoft's headers.
    if (gccMode && compiles)
        appendArgument(text, "/D" + std::string(gccModeMacro));
    for (const std::string& define : defines)
        appendArgument(text, "/D" + define);
    for (const std::string& macro : gcc.macros)
        appendArgument(text, macro);
    // gcc searches "-iquote" directories before the "-I" ones; cl.exe has one kind for both.
    for (const std::string& dir : gcc.quoteIncludeDirs)
        appendArgument(text, "/I" + dir);
    for (const std::string& dir : includeDirs) {
        // A directory that is also a system one is searched as that, where gcc searches it.
        if (!isAmong(dir, gcc.systemIncludeDirs))
            appendArgument(text, "/I" + dir);
    }
    for (const std::string& dir : gcc.systemIncludeDirs)
        appendArgument(text, "/external:I" + dir);
    if (!gcc.includeDirsAfter.empty())
        exportIncludeDirsAfter(gcc.startupInclude, gcc.includeDirsAfter);
    for (const std::string& file : gcc.forcedIncludes)
        appendArgument(text, "/FI" + file);
    for (const std::string& source : cSources)
        appendArgument(text, "/Tc" + toWindowsPath(source));
    for (const std::string& source : cppSources)
        appendArgument(text, "/Tp" + toWindowsPath(source));
    for (const std::string& header : headers)
        appendArgument(text, toWindowsPath(header));
    return text + commonArguments() + linkerSection();
}

std::string CompilerArgs::linkerSection() const {
    std::string text;
    if (compileOnly || preprocessOnly || gcc.linkerOptions.empty())
        return text;
    appendArgument(text, "/link");
    for (const std::string& option : gcc.linkerOptions)
        appendArgument(text, option);
    return text;
}

} // namespace zarn
