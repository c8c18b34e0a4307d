// The whole classification of an arbitrary argument vector, then the argument texts of both
// records, as a run builds them.
//
// Input: the arguments separated by zero bytes; after the first two zero bytes in a row, the
// contents of the list files "0.lst", "1.lst", "sub/2.lst" and "my dir/3.lst", in this order,
// separated by two zero bytes. A list file the input gives no contents for does not exist. The
// files live in a private directory, which is the working directory while an input runs (only
// then, so that libFuzzer's own relative paths keep their meaning; a crash found by a sanitizer
// other than AddressSanitizer may leave its input there, the directory is named at start-up).
// Standard output and standard error are muted; property violations are reported on
// descriptor 2.
//
// Properties (with and without "--zarngcc"): the run ends normally or through ProgramEnd with
// status 0 or 1; what both records share is equal in both; every piece of the compiler's text (and
// of the linker's text when no list file adds command-line text) is one word of it, in particular
// objects, libraries and pass-through options arrive whole and in order; LIB is set.
#include "driver/classify.h"
#include "fuzz_check.h"
#include "host/command_line.h"
#include "host/diagnostics.h"
#include "host/program_end.h"
#include "tool/library_path.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <sanitizer/asan_interface.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using zarn::fuzz::splitAt;

const char* const listFiles[] = {"0.lst", "1.lst", "sub/2.lst", "my dir/3.lst"};
std::string privateDirectory;
int privateFd = -1;
int originalFd = -1;

void leavePrivateDirectory() {
    if (fchdir(originalFd) != 0)
        dprintf(2, "fuzz_arguments: cannot return to the original directory\n");
}

void leavePrivateDirectoryOnReport(const char*) {
    leavePrivateDirectory();
}

void removePrivateDirectory() {
    for (const char* name : listFiles)
        unlink((privateDirectory + "/" + name).c_str());
    rmdir((privateDirectory + "/sub").c_str());
    rmdir((privateDirectory + "/my dir").c_str());
    rmdir(privateDirectory.c_str());
}

void writeListFile(const char* name, const std::string& contents) {
    int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ZARN_FUZZ_CHECK(fd >= 0);
    ZARN_FUZZ_CHECK(write(fd, contents.data(), contents.size()) ==
                    static_cast<ssize_t>(contents.size()));
    ZARN_FUZZ_CHECK(close(fd) == 0);
}

// The words of the text end with the words given, in order.
bool endsWithWords(const std::vector<std::string>& words, const std::vector<std::string>& tail) {
    if (words.size() < tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (words[words.size() - tail.size() + i] != tail[i])
            return false;
    }
    return true;
}

// The common tail: runtime option, objects, libraries, pass-through options.
std::vector<std::string> commonWords(const zarn::Tool& tool) {
    std::vector<std::string> words;
    if (!tool.runtimeLibrary.empty())
        words.push_back(tool.runtimeLibrary);
    words.insert(words.end(), tool.objectFiles.begin(), tool.objectFiles.end());
    words.insert(words.end(), tool.libraries.begin(), tool.libraries.end());
    words.insert(words.end(), tool.extraOptions.begin(), tool.extraOptions.end());
    return words;
}

void checkText(const std::string& text) {
    ZARN_FUZZ_CHECK(text.empty() || text[0] == ' ');
    const char* lib = std::getenv("LIB");
    ZARN_FUZZ_CHECK(lib != nullptr);
}

bool namesExceptionModel(const std::vector<std::string>& options) {
    for (const std::string& option : options) {
        if (option.rfind("/EH", 0) == 0 || option.rfind("-EH", 0) == 0)
            return true;
    }
    return false;
}

void checkCompilerText(const zarn::CompilerArgs& compiler, const std::string& text) {
    checkText(text);
    std::vector<std::string> words = zarn::splitCommandLine(text);
    const zarn::GccCompileOptions& gcc = compiler.gcc;
    bool compiles =
        !compiler.cSources.empty() || !compiler.cppSources.empty() || !compiler.headers.empty();
    bool links = !compiler.compileOnly && !compiler.preprocessOnly;
    std::size_t optimize = gcc.optimizeForSize ? 1 : compiler.optimizeLevel >= 0 ? 2 : 0;
    // A directory also given as a system one is written once, as that.
    std::size_t includeDirs = 0;
    for (const std::string& dir : compiler.includeDirs) {
        includeDirs += std::find(gcc.systemIncludeDirs.begin(), gcc.systemIncludeDirs.end(), dir) ==
                       gcc.systemIncludeDirs.end();
    }
    std::size_t searched = gcc.forcedIncludes.size() + gcc.systemIncludeDirs.size() + includeDirs +
                           gcc.quoteIncludeDirs.size() + gcc.macros.size();
    std::size_t pieces =
        compiler.preprocessOnly + compiler.compileOnly + optimize + !compiler.cpuOption.empty() +
        compiler.debugInfo + !compiler.outputFile.empty() + !compiler.pdbFile.empty() +
        compiler.defines.size() + searched + compiler.cSources.size() + compiler.cppSources.size() +
        compiler.headers.size() + (gcc.sharedLibrary && links) + (compiler.gccMode && compiles);
    if (compiles) {
        pieces += (!gcc.cStandard.empty() && !compiler.cSources.empty()) +
                  (!gcc.cxxStandard.empty() && !compiler.cppSources.empty()) +
                  (gcc.noWarnings || gcc.warningLevel > 0) + gcc.options.size() +
                  !gcc.architecture.empty() +
                  (compiler.gccMode && gcc.exceptions && !compiler.cppSources.empty() &&
                   !namesExceptionModel(compiler.extraOptions));
    }
    std::vector<std::string> tail = commonWords(compiler);
    if (links && !gcc.linkerOptions.empty()) {
        tail.push_back("/link");
        tail.insert(tail.end(), gcc.linkerOptions.begin(), gcc.linkerOptions.end());
    }
    ZARN_FUZZ_CHECK(words.size() == pieces + tail.size());
    ZARN_FUZZ_CHECK(endsWithWords(words, tail));
    std::size_t first = words.size() - tail.size() - compiler.headers.size() -
                        compiler.cppSources.size() - compiler.cSources.size() - searched -
                        compiler.defines.size();
    for (std::size_t i = 0; i < compiler.defines.size(); ++i)
        ZARN_FUZZ_CHECK(words[first + i] == "/D" + compiler.defines[i]);
}

void checkLinkerText(const zarn::LinkerArgs& linker, const std::string& text) {
    checkText(text);
    // A list file's lines are command-line text of their own: only without them is every
    // word known.
    if (!linker.listFiles.empty())
        return;
    std::vector<std::string> words = zarn::splitCommandLine(text);
    std::size_t pieces = linker.dll + !linker.outputFile.empty() + !linker.pdbFile.empty() +
                         linker.debugInfo + linker.release + !linker.buildLibrary;
    std::vector<std::string> tail = commonWords(linker);
    ZARN_FUZZ_CHECK(words.size() == pieces + tail.size());
    ZARN_FUZZ_CHECK(endsWithWords(words, tail));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = "/tmp/zarn-fuzz-XXXXXX";
    ZARN_FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
    privateDirectory = pattern;
    dprintf(2, "fuzz_arguments: list files in %s\n", privateDirectory.c_str());
    ZARN_FUZZ_CHECK(mkdir((privateDirectory + "/sub").c_str(), 0755) == 0);
    ZARN_FUZZ_CHECK(mkdir((privateDirectory + "/my dir").c_str(), 0755) == 0);
    std::atexit(removePrivateDirectory);
    privateFd = open(privateDirectory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    originalFd = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ZARN_FUZZ_CHECK(privateFd >= 0 && originalFd >= 0);
    zarn::fuzz::beforeAbort = leavePrivateDirectory;
    __asan_set_error_report_callback(leavePrivateDirectoryOnReport);
    // zarn's messages, the version line and trace lines go nowhere; libFuzzer keeps the stream
    // it took at start-up, and the sanitizers write to descriptor 2.
    std::FILE* nowhere = std::fopen("/dev/null", "w");
    ZARN_FUZZ_CHECK(nowhere != nullptr);
    stdout = nowhere;
    stderr = nowhere;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ZARN_FUZZ_CHECK(fchdir(privateFd) == 0);
    std::string_view input = zarn::fuzz::inputText(data, size);
    const std::string_view listSeparator("\0\0", 2);
    std::size_t argumentsEnd = input.find(listSeparator);
    std::string_view argumentPart = input.substr(0, argumentsEnd);

    std::vector<std::string> arguments = {"zarn"};
    if (!argumentPart.empty()) {
        for (std::string& argument : splitAt(argumentPart, std::string_view("\0", 1)))
            arguments.push_back(std::move(argument));
    }
    std::vector<std::string> lists;
    if (argumentsEnd != std::string_view::npos)
        lists = splitAt(input.substr(argumentsEnd + listSeparator.size()), listSeparator);
    for (std::size_t i = 0; i < std::size(listFiles); ++i) {
        if (i < lists.size())
            writeListFile(listFiles[i], lists[i]);
        else
            unlink(listFiles[i]);
    }

    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    // Every run starts as a fresh process would.
    zarn::traceEnabled = false;
    zarn::savedLibPath.reset();
    unsetenv("LIB");
    unsetenv("INCLUDE");
    unsetenv("ZARN_INCLUDE_AFTER");
    zarn::CompilerArgs compiler;
    zarn::LinkerArgs linker;
    try {
        zarn::Tool& current = zarn::classifyArguments(static_cast<int>(arguments.size()),
                                                      argv.data(), compiler, linker);
        ZARN_FUZZ_CHECK(&current == &compiler || &current == &linker);
        ZARN_FUZZ_CHECK(compiler.objectFiles == linker.objectFiles);
        ZARN_FUZZ_CHECK(compiler.libraries == linker.libraries);
        ZARN_FUZZ_CHECK(compiler.libraryDirs == linker.libraryDirs);
        ZARN_FUZZ_CHECK(compiler.runtimeLibrary == linker.runtimeLibrary);
        checkCompilerText(compiler, compiler.buildArguments());
        checkLinkerText(linker, linker.buildArguments());
    } catch (const zarn::ProgramEnd& end) {
        ZARN_FUZZ_CHECK(end.status == 0 || end.status == 1);
    }
    leavePrivateDirectory();
    return 0;
}
