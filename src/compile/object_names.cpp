#include "compile/object_names.h"

namespace zarn {

std::string gccObjectName(std::string_view source) {
    std::size_t slash = source.find_last_of("/\\");
    std::string_view base = slash == std::string_view::npos ? source : source.substr(slash + 1);
    std::size_t dot = base.rfind('.');
    return std::string(base.substr(0, dot == 0 ? base.size() : dot)) + ".o";
}

std::vector<CompilerArgs> compilesOfEachSource(const CompilerArgs& compiler) {
    std::vector<CompilerArgs> compiles;
    for (const std::vector<std::string>* list : {&compiler.cSources, &compiler.cppSources}) {
        for (const std::string& source : *list) {
            CompilerArgs single = compiler;
            single.cSources.clear();
            single.cppSources.clear();
            // Headers are named once, as they were.
            if (!compiles.empty())
                single.headers.clear();
            (list == &compiler.cSources ? single.cSources : single.cppSources).push_back(source);
            single.outputFile = gccObjectName(source);
            compiles.push_back(std::move(single));
        }
    }
    return compiles;
}

} // namespace zarn
