// What the rule tables of the classification share: an argument as the rules see it, the state
// of one classification, and the shape of a rule. The table of zarn's own options is in
// classify.cpp; the rows that gcc mode tries before it are in gcc_rules.cpp.
#pragma once

#include "compile/compiler_args.h"
#include "compile/processor_options.h"
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

// A "-l" library of gcc mode, looked up once every "-L" is read.
struct PendingLibrary {
    std::size_t index; // its place in the libraries of both records
    std::string name;  // "-lNAME": NAME, "-l:FILE": FILE, in Windows form
    bool file;         // "-l:FILE": the name is the file's whole name
    bool archivesOnly; // after "-Wl,-Bstatic"
    bool wholeArchive; // between "--whole-archive" and "--no-whole-archive"
};

struct Classification {
    Classification(CompilerArgs& compilerRecord, LinkerArgs& linkerRecord, int count,
                   char* const* vector)
        : compiler(compilerRecord), linker(linkerRecord), current(&compilerRecord), argc(count),
          argv(vector), index(1) {}

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
    std::vector<PendingLibrary> pendingLibraries;       // "-l", looked up once all "-L" are read
    bool staticLinking = false;                         // "-static": archives for every "-l"
    bool archivesOnly = false;                          // "-Wl,-Bstatic" until "-Wl,-Bdynamic"
    bool wholeArchive = false;            // between "-Wl,--whole-archive" and "--no-whole-archive"
    InstructionSetChoice instructionSets; // "-march=", "-mavx2", "-mno-avx"

    template <typename Effect>
    void both(Effect effect) {
        effect(static_cast<Tool&>(compiler));
        effect(static_cast<Tool&>(linker));
    }

    // Both records hold the same library directories, so one look-up serves both. Between
    // gcc's "--whole-archive" and "--no-whole-archive", the library is linked whole.
    void addLibrary(const std::string& name) { addLibraryAmong({name}); }
    void addLibraryAmong(const std::vector<std::string>& names) {
        std::string path = compiler.locateLibrary(names);
        if (wholeArchive) {
            addLinkerOption("/WHOLEARCHIVE:" + path);
            return;
        }
        both([&](Tool& t) { t.addLibrary(path); });
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
    // A message of zarn's own about the command line, and the end of the program with status 1.
    [[noreturn]] void fail(const std::string& message) const;
    // The value, unless it is empty: an empty directory or name would take the next word of
    // the tool's command line for itself ("/I" followed by "/Tca.c").
    std::string nonEmpty(std::string value, std::string_view option, std::string_view what) const;
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
