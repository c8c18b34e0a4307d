// Helpers shared by the tests: argument vectors, a readable dump of the records, scratch
// directories and environment settings that undo themselves.
#pragma once

#include "compile/compiler_args.h"
#include "link/linker_args.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zarn::test {

// An argv for the driver: "zarn" followed by the arguments.
class ArgumentVector {
  public:
    explicit ArgumentVector(std::vector<std::string> arguments);
    int argc() const { return static_cast<int>(pointers_.size()) - 1; }
    char* const* argv() const { return pointers_.data(); }

  private:
    std::vector<std::string> words_;
    std::vector<char*> pointers_;
};

// The fields of both records that differ from their defaults, and the current record, as one
// line: "C: cSources=[a.c] compileOnly | L: outputFile=x | current=C".
std::string describeRecords(const CompilerArgs& compiler, const LinkerArgs& linker,
                            const Tool& current);

// Classifies the arguments into fresh records; the result of describeRecords, or
// "exit <status>" when the classification ended the program.
std::string classifyToText(const std::vector<std::string>& arguments);

// How a step that may end the program went: the status it ended with (-1 when it returned),
// and what it wrote to standard error.
struct Ending {
    int status;
    std::string err;
};
Ending runToEnd(const std::function<void()>& step);

// A fresh directory that is the working directory while the object lives.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    // As the system names it.
    const std::string& path() const { return path_; }
    // In Windows form, as zarn hands it to a tool ("Z:\tmp\zarn-test-…" on Linux).
    std::string windowsPath() const;
    // In POSIX form, as a build script names it ("/tmp/zarn-test-…").
    std::string posixPath() const;

  private:
    std::string path_;
    std::string previous_;
};

// A directory and those above it, made where missing.
void makeDirectory(const std::string& path);

// The system's text for an error, as zarn's messages quote it: on POSIX systems that of the
// errno value, on Windows that of the Windows error code.
std::string systemText(int posixError, unsigned long windowsError);
// The same as a fatal report quotes it, with the system's own line end.
std::string systemReport(int posixError, unsigned long windowsError);

// What separates the entries of PATH.
extern const char pathSeparator;

void writeFile(const std::string& name, const std::string& contents);
std::string readFile(const std::string& name);

// Sets or unsets an environment variable until the object goes away.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, std::optional<std::string> value);
    ~ScopedEnvironment();

  private:
    std::string name_;
    std::optional<std::string> previous_;
};

// Sets LIB (or unsets it) and forgets the value an earlier record captured, so that records
// made afterwards see this value as their start-up LIB.
class StartupLib {
  public:
    explicit StartupLib(std::optional<std::string> value);
    ~StartupLib();

  private:
    ScopedEnvironment lib_;
};

struct ProgramResult {
    int status;
    std::string out;
    std::string err;
};

// Runs a program with the arguments and captures its streams. When the program is zarn itself
// and ZARN_TEST_WRAPPER is set, the program runs under the wrapper's words instead, e.g.
// ZARN_TEST_WRAPPER="/usr/bin/valgrind --error-exitcode=99 -q" (split like a command line; give
// the wrapper with its full path, since some tests change PATH). The stand-in tools that zarn
// starts run unwrapped.
ProgramResult runProgram(const std::vector<std::string>& command);

#ifndef _WIN32
// Starts a program found along PATH in the background, its standard streams on /dev/null, and
// returns its process id (with ownGroup, also that of its new process group); waitProgram
// reaps it and returns the status waitpid gave.
int startProgram(const std::vector<std::string>& command, bool ownGroup = false);
int waitProgram(int pid);
#endif

// The names in the directory, sorted.
std::vector<std::string> directoryNames(const std::string& directory);

} // namespace zarn::test

namespace zarn::test {

// How the stand-in tool was called once: its arguments (argv[0] first) and the LIB it saw.
struct ToolRun {
    std::vector<std::string> arguments;
    std::optional<std::string> responseFile; // the text of the file an "@file" argument names
    std::optional<std::string> lib;
};

// Puts the stand-in cl.exe, link.exe and lib.exe first on PATH and has them log each run to a
// file in the working directory; every STANDIN_ setting made through it is undone at the end.
class StandInTools {
  public:
    StandInTools();
    ~StandInTools();
    void set(const char* name, const std::string& value);
    std::vector<ToolRun> runs() const;

  private:
    std::vector<std::string> names_;
    ScopedEnvironment path_;
    std::string log_;
};

// The arguments of a run joined by single blanks, for comparing whole command lines.
std::string joinArguments(const ToolRun& run);

// The bytes the stand-in writes to stream 1 or 2 when flooding.
std::string floodBytes(std::size_t count, int stream);

} // namespace zarn::test
