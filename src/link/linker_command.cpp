#include "host/command_line.h"
#include "link/linker_args.h"
#include "link/list_file.h"

namespace zarn {

std::string LinkerArgs::buildArguments() const {
    std::string text;
    if (dll)
        appendArgument(text, "/dll");
    if (!outputFile.empty())
        appendArgument(text, "/OUT:" + outputFile);
    if (!pdbFile.empty())
        appendArgument(text, "/PDB:" + pdbFile);
    if (debugInfo)
        appendArgument(text, "/DEBUG");
    if (release)
        appendArgument(text, "/RELEASE");
    if (!buildLibrary)
        appendArgument(text, incremental ? "/INCREMENTAL:YES" : "/INCREMENTAL:NO");
    for (const std::string& listFile : listFiles)
        appendListFile(text, listFile);
    return text + commonArguments();
}

} // namespace zarn
