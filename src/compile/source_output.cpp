#include "compile/source_output.h"

#include "host/files.h"

namespace zarn {

std::optional<std::string> sourceWrittenOver(const CompilerArgs& compiler, const Tool& current) {
    for (const std::string* output : {&current.outputFile, &compiler.gcc.preprocessedFile}) {
        if (output->empty())
            continue;
        for (const auto* files : {&compiler.cSources, &compiler.cppSources, &compiler.headers}) {
            for (const std::string& file : *files) {
                if (sameFile(file, *output))
                    return file;
            }
        }
    }
    return std::nullopt;
}

} // namespace zarn
