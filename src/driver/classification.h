// What the rule tables of the classification share: an argument as the rules see it, the state
// of one classification, and the shape of a rule. The table of zarn's own options is in
// classify.cpp; the rows that gcc mode tries before it are in gcc_rules.cpp.
#pragma once

#include "compile/compiler_args.h"
#include "link/gnu_linker_options.h"
#include "link/linker_args.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The language "-x" gives the files that follow it, in gcc mode.
enum class SourceLanguage { byEnding, c, cxx };

struct Argument {
    std::string_view text;
    std::string_view rest;   // the text without its first character
    bool isOption;           // first character "-" or "/"
    SourceLanguage language; // what "-x" says of a file argument here

    char second() const { return text.size() >= 2 ? text[1] : '\0'; }
    std::string after(std::size_t count) const {
        return std::string(text.substr(std::min(count, text.size())));
    }
};

struct Classification {
    CompilerArgs& compiler;
    LinkerArgs& linker;
    Tool* current;
    int argc;
    char* const* argv;
    int index; // of the argument being classified; options with a value advance it

    // gcc mode only.
    SourceLanguage language = SourceLanguage::byEnding; // the last "-x"
    GnuLinkerWords linkerWords;                         // "-Wl," and "-Xlinker" words so far
    std::vector<std::string> dropped;                   // accepted options that have no effect

    template <typename Effect>
    void both(Effect effect) {
        effect(static_cast<Tool&>(compiler));
        effect(static_cast<Tool&>(linker));
    }

    // Both records hold the same library directories, so one look-up serves both.
    void addLibrary(const std::string& name) { linker.addLibrary(compiler.resolveLibrary(name)); }
    void addLibraryAmong(const std::vector<std::string>& names) {
        linker.addLibrary(compiler.resolveLibraryAmong(names));
    }

    // An option for the linker, whichever tool links: link.exe takes it as one of its own, the
    // compiler after "/link".
    void addLinkerOption(const std::string& option) {
        linker.extraOptions.push_back(option);
        compiler.gcc.linkerOptions.push_back(option);
    }

    // The argument after the option, whatever it looks like; it is not classified itself.
    std::string takeValue(const Argument& option);

    // "unknown option" for the text, and the end of the program with status 1.
    [[noreturn]] void reject(std::string_view text) const;
};

enum class Applies { any, option, optionWhileCompiling };
enum class Current { unchanged, compiler, linker };

struct Rule {
    Applies applies;
    bool (*matches)(const Argument&);
    void (*apply)(Classification&, const Argument&);
    Current current;
};

struct RuleTable {
    const Rule* begin;
    const Rule* end;
};

// The rows gcc mode tries before zarn's own table.
RuleTable gccRules();

// What gcc mode settles once every argument is read: the defaults gcc gives "-MD" and "-E -o",
// and a trace line for each option that had no effect. Ends the program where the request
// cannot be carried out.
void finishGccClassification(Classification& c);

} // namespace zarn
