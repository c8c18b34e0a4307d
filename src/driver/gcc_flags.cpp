#include "driver/gcc_flags.h"

#include "host/text.h"

#include <algorithm>

namespace zarn {

namespace {

// What a gcc flag does.
enum class Effect {
    compilerOption, // cl.exe's option of the same meaning, or none for a family's default
    warningLevel,   // "/W<n>": the highest level asked for holds
    noWarnings,     // "-w": no warnings, whatever else is asked
    linkerOption,   // the linker's option of the same meaning
    dropped,        // no meaning for the Microsoft tools; named in the trace
    debugInfo,      // as "-g"
    noDebugInfo,    // undoes "-g"
    exceptions,     // C++ sources get exceptions (gcc's default)
    noExceptions,   // they do not
    sharedLibrary,  // the program is a DLL
    staticLinking,  // "-l" finds archives only
};

struct GccFlag {
    std::string_view gcc;
    bool prefix; // also every option that begins with it
    Effect effect;
    std::string_view family; // flags of one family replace each other; empty: none
    std::string_view microsoft;
};

// Tried in this order: the first row that matches takes the option.
constexpr GccFlag flags[] = {
    {"-Wall", false, Effect::warningLevel, "", "3"},
    {"-Wextra", false, Effect::warningLevel, "", "4"},
    {"-W", false, Effect::warningLevel, "", "4"},
    {"-w", false, Effect::noWarnings, "", ""},
    {"-Werror", false, Effect::compilerOption, "werror", "/WX"},
    {"-Wno-error", false, Effect::compilerOption, "werror", "/WX-"},
    {"-fexceptions", false, Effect::exceptions, "", ""},
    {"-fno-exceptions", false, Effect::noExceptions, "", ""},
    {"-frtti", false, Effect::compilerOption, "rtti", "/GR"},
    {"-fno-rtti", false, Effect::compilerOption, "rtti", "/GR-"},
    {"-fstack-protector", true, Effect::compilerOption, "stack-protector", "/GS"},
    {"-fno-stack-protector", false, Effect::compilerOption, "stack-protector", "/GS-"},
    {"-funsigned-char", false, Effect::compilerOption, "char", "/J"},
    {"-fno-signed-char", false, Effect::compilerOption, "char", "/J"},
    {"-fsigned-char", false, Effect::compilerOption, "char", ""},
    {"-fno-unsigned-char", false, Effect::compilerOption, "char", ""},
    {"-ffast-math", false, Effect::compilerOption, "fast-math", "/fp:fast"},
    {"-fno-fast-math", false, Effect::compilerOption, "fast-math", ""},
    {"-ffunction-sections", false, Effect::compilerOption, "function-sections", "/Gy"},
    {"-fno-function-sections", false, Effect::compilerOption, "function-sections", "/Gy-"},
    {"-fdata-sections", false, Effect::compilerOption, "data-sections", "/Gw"},
    {"-fno-data-sections", false, Effect::compilerOption, "data-sections", "/Gw-"},
    {"-fomit-frame-pointer", false, Effect::compilerOption, "frame-pointer", "/Oy"},
    {"-fno-omit-frame-pointer", false, Effect::compilerOption, "frame-pointer", "/Oy-"},
    {"-fno-inline", false, Effect::compilerOption, "inline", "/Ob0"},
    {"-finline", false, Effect::compilerOption, "inline", ""},
    {"-fopenmp", false, Effect::compilerOption, "openmp", "/openmp"},
    {"-fno-openmp", false, Effect::compilerOption, "openmp", ""},
    {"-fsyntax-only", false, Effect::compilerOption, "syntax-only", "/Zs"},
    {"-fsanitize=address", false, Effect::compilerOption, "sanitize", "/fsanitize=address"},
    {"-fno-sanitize=address", false, Effect::compilerOption, "sanitize", ""},
    {"-fno-sanitize=all", false, Effect::compilerOption, "sanitize", ""},
    {"-nostdinc", false, Effect::compilerOption, "nostdinc", "/X"},
    {"-nostdlib", false, Effect::linkerOption, "", "/NODEFAULTLIB"},
    {"-nodefaultlibs", false, Effect::linkerOption, "", "/NODEFAULTLIB"},
    {"-mwindows", false, Effect::linkerOption, "", "/SUBSYSTEM:WINDOWS"},
    {"-mconsole", false, Effect::linkerOption, "", "/SUBSYSTEM:CONSOLE"},
    {"-shared", false, Effect::sharedLibrary, "", ""},
    {"-mdll", false, Effect::sharedLibrary, "", ""},
    {"-static", false, Effect::staticLinking, "", ""},
    {"-g0", false, Effect::noDebugInfo, "", ""},
    {"-g1", false, Effect::debugInfo, "", ""},
    {"-g2", false, Effect::debugInfo, "", ""},
    {"-g3", false, Effect::debugInfo, "", ""},
    {"-ggdb", true, Effect::debugInfo, "", ""},
    {"-gdwarf", true, Effect::debugInfo, "", ""},
    {"-gcodeview", false, Effect::debugInfo, "", ""},
    {"-pthread", false, Effect::dropped, "", ""},
    {"-pipe", false, Effect::dropped, "", ""},
    {"-pedantic", false, Effect::dropped, "", ""},
    {"-pedantic-errors", false, Effect::dropped, "", ""},
    {"-ansi", false, Effect::dropped, "", ""},
    {"-s", false, Effect::dropped, "", ""},
    {"-rdynamic", false, Effect::dropped, "", ""},
    {"-static-libgcc", false, Effect::dropped, "", ""},
    {"-static-libstdc++", false, Effect::dropped, "", ""},
    {"-shared-libgcc", false, Effect::dropped, "", ""},
    {"-pie", false, Effect::dropped, "", ""},
    {"-no-pie", false, Effect::dropped, "", ""},
    {"-municode", false, Effect::dropped, "", ""},
    {"-mthreads", false, Effect::dropped, "", ""},
    {"-Wa,", true, Effect::dropped, "", ""},
    {"-W", true, Effect::dropped, "", ""},
    {"-f", true, Effect::dropped, "", ""},
};

const GccFlag* findFlag(std::string_view text) {
    // Options for the preprocessor change what is compiled: never dropped. Nor is a sanitizer
    // that cl.exe lacks: a build asking for its checks would pass without them.
    if (startsWith(text, "-Wp,") ||
        (startsWith(text, "-fsanitize=") && text != "-fsanitize=address"))
        return nullptr;
    for (const GccFlag& flag : flags) {
        if (flag.prefix ? startsWith(text, flag.gcc) : text == flag.gcc)
            return &flag;
    }
    return nullptr;
}

// A later flag of the family takes the place of an earlier one; a family's default is no option.
void setFamilyOption(GccCompileOptions& gcc, std::string_view family, std::string_view option) {
    auto& options = gcc.options;
    options.erase(std::remove_if(options.begin(), options.end(),
                                 [&](const GccFamilyOption& o) { return o.family == family; }),
                  options.end());
    if (!option.empty())
        options.push_back({family, std::string(option)});
}

} // namespace

bool isGccFlag(std::string_view text) {
    return findFlag(text) != nullptr;
}

void applyGccFlag(Classification& c, const Argument& a) {
    const GccFlag& flag = *findFlag(a.text);
    GccCompileOptions& gcc = c.compiler.gcc;
    switch (flag.effect) {
    case Effect::compilerOption:
        setFamilyOption(gcc, flag.family, flag.microsoft);
        break;
    case Effect::warningLevel:
        gcc.warningLevel = std::max(gcc.warningLevel, flag.microsoft[0] - '0');
        break;
    case Effect::noWarnings:
        gcc.noWarnings = true;
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
    case Effect::staticLinking:
        c.staticLinking = true;
        break;
    }
}

} // namespace zarn
