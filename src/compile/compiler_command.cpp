#include "compile/compiler_args.h"
#include "host/command_line.h"
#include "host/paths.h"

namespace zarn {

std::string CompilerArgs::buildArguments() const {
    std::string text;
    if (preprocessOnly)
        appendArgument(text, "/E");
    if (compileOnly)
        appendArgument(text, "/c");
    if (optimizeLevel >= 0) {
        // cl.exe has no graded levels that match gcc's; every level asks for the same set.
        appendArgument(text, "/Ogityb2");
        appendArgument(text, "/Gs");
    }
    if (!cpuOption.empty())
        appendArgument(text, "/" + cpuOption);
    if (debugInfo)
        appendArgument(text, "/Zi");
    if (!outputFile.empty())
        appendArgument(text, (compileOnly ? "/Fo" : "/Fe") + outputFile);
    if (!pdbFile.empty())
        appendArgument(text, "/Fd" + pdbFile);
    for (const std::string& define : defines)
        appendArgument(text, "/D" + define);
    for (const std::string& dir : includeDirs)
        appendArgument(text, "/I" + dir);
    for (const std::string& source : cSources)
        appendArgument(text, "/Tc" + toWindowsPath(source));
    for (const std::string& source : cppSources)
        appendArgument(text, "/Tp" + toWindowsPath(source));
    for (const std::string& header : headers)
        appendArgument(text, toWindowsPath(header));
    return text + commonArguments();
}

} // namespace zarn
