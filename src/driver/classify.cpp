#include "driver/classify.h"

#include "driver/classification.h"

#include "host/diagnostics.h"
#include "host/output.h"
#include "host/paths.h"
#include "host/program_end.h"
#include "host/text.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace zarn {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Processor {
    std::string_view name;
    const char* option;
};

constexpr Processor processors[] = {
    {"i386", "G3"}, {"i486", "G4"}, {"pentium", "G5"}, {"pentiumpro", "G6"}};

void selectProcessor(CompilerArgs& compiler, const Argument& a) {
    std::string_view value = a.text.substr(2);
    if (startsWith(value, "cpu="))
        value.remove_prefix(4);
    for (const Processor& processor : processors) {
        if (value == processor.name) {
            compiler.cpuOption = processor.option;
            return;
        }
    }
}

// Tried in this order; the first rule that matches takes the argument.
const Rule rules[] = {
    {Applies::any, [](const Argument& a) { return a.text == "--zarndbg"; },
     [](Classification&, const Argument&) { traceEnabled = true; }, Current::unchanged},
    // Read before the first argument: gcc mode covers the whole command line.
    {Applies::any, [](const Argument& a) { return a.text == gccModeOption; },
     [](Classification&, const Argument&) {}, Current::unchanged},
    {Applies::any, [](const Argument& a) { return a.text == "--zarnversion"; },
     [](Classification&, const Argument&) {
         writeOwnOutput(versionLine);
         endProgram(0);
     },
     Current::unchanged},
    {Applies::any, [](const Argument& a) { return endsWith(a.text, ".c"); },
     [](Classification& c, const Argument& a) { c.compiler.addCSource(std::string(a.text)); },
     Current::compiler},
    {Applies::any,
     [](const Argument& a) {
         return endsWithAny(a.text, {".cpp", ".cxx", ".c++", ".cc"});
     },
     [](Classification& c, const Argument& a) { c.compiler.addCppSource(std::string(a.text)); },
     Current::compiler},
    {Applies::any, [](const Argument& a) { return endsWith(a.text, ".h"); },
     [](Classification& c, const Argument& a) { c.compiler.addHeader(std::string(a.text)); },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return startsWith(a.rest, "OUT:"); },
     [](Classification& c, const Argument& a) { c.linker.outputFile = a.after(5); },
     Current::linker},
    {Applies::any,
     [](const Argument& a) {
         return endsWithAny(a.text, {".obj", ".o"});
     },
     [](Classification& c, const Argument& a) {
         std::string object = toWindowsPath(a.text);
         c.both([&](Tool& t) { t.addObjectFile(object); });
     },
     Current::unchanged},
    {Applies::any, [](const Argument& a) { return endsWith(a.text, ".lib"); },
     [](Classification& c, const Argument& a) { c.addLibrary(toWindowsPath(a.text)); },
     Current::unchanged},
    {Applies::any, [](const Argument& a) { return endsWith(a.text, ".lst"); },
     [](Classification& c, const Argument& a) { c.linker.addListFile(toWindowsPath(a.text)); },
     Current::linker},
    {Applies::option, [](const Argument& a) { return textEquals(a.rest, "lib", true); },
     [](Classification& c, const Argument&) { c.linker.buildLibrary = true; }, Current::linker},
    {Applies::option, [](const Argument& a) { return textEquals(a.rest, "link", true); },
     [](Classification&, const Argument&) {}, Current::linker},
    {Applies::option, [](const Argument& a) { return textEquals(a.rest, "dll", true); },
     [](Classification& c, const Argument&) { c.linker.dll = true; }, Current::linker},
    {Applies::option, [](const Argument& a) { return a.second() == 'L'; },
     [](Classification& c, const Argument& a) {
         std::string dir = toWindowsPath(a.text.substr(2));
         c.both([&](Tool& t) { t.addLibraryDir(dir); });
     },
     Current::unchanged},
    {Applies::option, [](const Argument& a) { return a.second() == 'l'; },
     [](Classification& c, const Argument& a) {
         c.addLibrary(toWindowsPath(a.text.substr(2)) + ".lib");
     },
     Current::unchanged},
    {Applies::option, [](const Argument& a) { return a.rest == "E"; },
     [](Classification& c, const Argument&) { c.compiler.preprocessOnly = true; },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return a.rest == "RELEASE"; },
     [](Classification& c, const Argument&) { c.linker.release = true; }, Current::linker},
    {Applies::option, [](const Argument& a) { return a.rest == "DEBUG"; },
     [](Classification& c, const Argument&) { c.linker.debugInfo = true; }, Current::linker},
    {Applies::option, [](const Argument& a) { return a.second() == 'D'; },
     [](Classification& c, const Argument& a) {
         c.compiler.addDefine(c.nonEmpty(a.after(2), a.text, "macro name"));
     },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return a.rest == "g"; },
     [](Classification& c, const Argument&) { c.both([](Tool& t) { t.debugInfo = true; }); },
     Current::unchanged},
    {Applies::option, [](const Argument& a) { return startsWith(a.rest, "INCREMENTAL:"); },
     [](Classification& c, const Argument& a) { c.linker.incremental = endsWith(a.text, "YES"); },
     Current::linker},
    {Applies::option, [](const Argument& a) { return a.second() == 'I'; },
     [](Classification& c, const Argument& a) {
         std::string dir = c.nonEmpty(a.after(2), a.text, "directory");
         c.compiler.addIncludeDir(toWindowsPath(dir));
     },
     Current::compiler},
    {Applies::optionWhileCompiling, [](const Argument& a) { return a.second() == 'm'; },
     [](Classification& c, const Argument& a) { selectProcessor(c.compiler, a); },
     Current::unchanged},
    {Applies::optionWhileCompiling,
     [](const Argument& a) {
         return a.second() == 'O' &&
                (a.text.size() == 2 || (a.text.size() == 3 && isDigit(a.text[2])));
     },
     [](Classification& c, const Argument& a) {
         // "-O" alone means level 1, as gcc reads it.
         c.compiler.optimizeLevel = a.text.size() == 3 ? a.text[2] - '0' : 1;
     },
     Current::unchanged},
    {Applies::option, [](const Argument& a) { return a.text == "-MD"; },
     [](Classification& c, const Argument&) { c.compiler.dependencies.generate = true; },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return a.text == "-MT"; },
     [](Classification& c, const Argument& a) { c.compiler.dependencies.target = c.takeValue(a); },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return a.text == "-MF"; },
     [](Classification& c, const Argument& a) {
         c.compiler.dependencies.dependencyFile = c.takeValue(a);
     },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return a.text == "-MP"; },
     [](Classification& c, const Argument&) { c.compiler.dependencies.phonyTargets = true; },
     Current::compiler},
    {Applies::option,
     [](const Argument& a) {
         return a.text == "/MD" || a.text == "/ML" || a.text == "/MT" || a.text == "/MDd" ||
                a.text == "/MLd" || a.text == "/MTd";
     },
     [](Classification& c, const Argument& a) {
         c.both([&](Tool& t) { t.runtimeLibrary = std::string(a.text); });
     },
     Current::unchanged},
    {Applies::option, [](const Argument& a) { return a.rest == "c"; },
     [](Classification& c, const Argument&) { c.compiler.compileOnly = true; }, Current::compiler},
    {Applies::option, [](const Argument& a) { return a.rest == "o"; },
     [](Classification& c, const Argument& a) {
         std::string output = c.takeValue(a);
         c.both([&](Tool& t) { t.outputFile = output; });
     },
     Current::unchanged},
    {Applies::option, [](const Argument& a) { return startsWith(a.rest, "Fd"); },
     [](Classification& c, const Argument& a) { c.compiler.pdbFile = a.after(3); },
     Current::compiler},
    {Applies::option, [](const Argument& a) { return startsWith(a.rest, "PDB:"); },
     [](Classification& c, const Argument& a) { c.linker.pdbFile = a.after(5); }, Current::linker},
    {Applies::any, [](const Argument& a) { return startsWith(a.text, "/"); },
     [](Classification& c, const Argument& a) {
         c.current->extraOptions.push_back(std::string(a.text));
     },
     Current::unchanged},
};

const Rule* findRule(RuleTable table, const Argument& argument, bool compilerCurrent) {
    for (const Rule* rule = table.begin; rule != table.end; ++rule) {
        if (rule->applies != Applies::any && !argument.isOption)
            continue;
        if (rule->applies == Applies::optionWhileCompiling && !compilerCurrent)
            continue;
        if (rule->matches(argument))
            return rule;
    }
    return nullptr;
}

bool asksForGccMode(int argc, char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == gccModeOption)
            return true;
    }
    return false;
}

} // namespace

std::string Classification::takeValue(const Argument& option) {
    if (index + 1 >= argc) {
        std::fprintf(stderr, "%s ERROR: missing argument to \"%s\"\n", argv[0],
                     std::string(option.text).c_str());
        endProgram(1);
    }
    return argv[++index];
}

void Classification::reject(std::string_view text) const {
    std::fprintf(stderr, "%s ERROR: unknown option \"%s\"\n", argv[0], std::string(text).c_str());
    endProgram(1);
}

void Classification::fail(const std::string& message) const {
    std::fprintf(stderr, "%s ERROR: %s\n", argv[0], message.c_str());
    endProgram(1);
}

std::string Classification::nonEmpty(std::string value, std::string_view option,
                                     std::string_view what) const {
    if (value.empty())
        fail("\"" + std::string(option) + "\" is given an empty " + std::string(what));
    return value;
}

Tool& classifyArguments(int argc, char* const* argv, CompilerArgs& compiler, LinkerArgs& linker) {
    Classification c(compiler, linker, argc, argv);
    compiler.gccMode = asksForGccMode(argc, argv);
    const RuleTable ownRules{std::begin(rules), std::end(rules)};
    for (; c.index < argc; ++c.index) {
        std::string_view text = argv[c.index];
        bool isOption = !text.empty() && (text[0] == '-' || text[0] == '/');
        Argument argument{text, text.empty() ? text : text.substr(1), isOption, c.language};
        bool compilerCurrent = c.current == &compiler;
        const Rule* rule =
            compiler.gccMode ? findRule(gccRules(), argument, compilerCurrent) : nullptr;
        if (rule == nullptr)
            rule = findRule(ownRules, argument, compilerCurrent);
        if (rule == nullptr)
            c.reject(text);
        rule->apply(c, argument);
        if (rule->current == Current::compiler)
            c.current = &compiler;
        else if (rule->current == Current::linker)
            c.current = &linker;
    }
    if (compiler.gccMode)
        finishGccClassification(c);
    return *c.current;
}

} // namespace zarn
