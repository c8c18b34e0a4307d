#include "support.h"

#include "driver/classify.h"
#include "host/command_line.h"
#include "host/diagnostics.h"
#include "host/environment.h"
#include "host/paths.h"
#include "host/process.h"
#include "host/program_end.h"
#include "host/system_error.h"
#include "tool/library_path.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <stdexcept>

#ifdef _WIN32
#include "host/win32/wide_text.h"

#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace zarn::test {

ArgumentVector::ArgumentVector(std::vector<std::string> arguments) {
    words_.push_back("zarn");
    words_.insert(words_.end(), arguments.begin(), arguments.end());
    for (std::string& word : words_)
        pointers_.push_back(word.data());
    pointers_.push_back(nullptr);
}

namespace {

void describeList(std::string& text, const char* name, const std::vector<std::string>& list) {
    if (list.empty())
        return;
    text += ' ';
    text += name;
    text += "=[";
    for (std::size_t i = 0; i < list.size(); ++i)
        text += (i ? "," : "") + list[i];
    text += ']';
}

void describeText(std::string& text, const char* name, const std::string& value) {
    if (!value.empty())
        text += std::string(" ") + name + "=" + value;
}

void describeFlag(std::string& text, const char* name, bool flag) {
    if (flag)
        text += std::string(" ") + name;
}

void describeTool(std::string& text, const Tool& tool) {
    describeFlag(text, "debugInfo", tool.debugInfo);
    describeText(text, "outputFile", tool.outputFile);
    describeText(text, "pdbFile", tool.pdbFile);
    describeList(text, "libraryDirs", tool.libraryDirs);
    describeList(text, "libraries", tool.libraries);
    describeList(text, "objectFiles", tool.objectFiles);
    describeList(text, "extraOptions", tool.extraOptions);
    describeText(text, "runtimeLibrary", tool.runtimeLibrary);
}

} // namespace

std::string describeRecords(const CompilerArgs& compiler, const LinkerArgs& linker,
                            const Tool& current) {
    std::string text = "C:";
    describeTool(text, compiler);
    describeList(text, "cSources", compiler.cSources);
    describeList(text, "cppSources", compiler.cppSources);
    describeList(text, "headers", compiler.headers);
    describeList(text, "defines", compiler.defines);
    describeList(text, "includeDirs", compiler.includeDirs);
    describeFlag(text, "preprocessOnly", compiler.preprocessOnly);
    describeFlag(text, "compileOnly", compiler.compileOnly);
    if (compiler.optimizeLevel != -1)
        text += " optimizeLevel=" + std::to_string(compiler.optimizeLevel);
    describeText(text, "cpuOption", compiler.cpuOption);
    describeFlag(text, "generate", compiler.dependencies.generate);
    describeFlag(text, "phonyTargets", compiler.dependencies.phonyTargets);
    describeText(text, "target", compiler.dependencies.target);
    describeText(text, "dependencyFile", compiler.dependencies.dependencyFile);
    describeFlag(text, "userHeadersOnly", compiler.dependencies.userHeadersOnly);
    describeText(text, "preprocessedFile", compiler.gcc.preprocessedFile);
    text += " | L:";
    describeTool(text, linker);
    describeFlag(text, "dll", linker.dll);
    describeFlag(text, "incremental", linker.incremental);
    describeFlag(text, "release", linker.release);
    describeFlag(text, "buildLibrary", linker.buildLibrary);
    describeList(text, "listFiles", linker.listFiles);
    text += &current == &compiler ? " | current=C" : " | current=L";
    return text;
}

std::string classifyToText(const std::vector<std::string>& arguments) {
    ArgumentVector args(arguments);
    CompilerArgs compiler;
    LinkerArgs linker;
    try {
        Tool& current = classifyArguments(args.argc(), args.argv(), compiler, linker);
        return describeRecords(compiler, linker, current);
    } catch (const ProgramEnd& end) {
        return "exit " + std::to_string(end.status);
    }
}

Ending runToEnd(const std::function<void()>& step) {
    testing::internal::CaptureStderr();
    int status = -1;
    try {
        step();
    } catch (const ProgramEnd& end) {
        status = end.status;
    }
    return {status, testing::internal::GetCapturedStderr()};
}

ScratchDirectory::ScratchDirectory() {
    namespace fs = std::filesystem;
    fs::path base = fs::temp_directory_path();
    std::random_device random;
    for (int attempt = 0;; ++attempt) {
        fs::path candidate = base / ("zarn-test-" + std::to_string(random() % 100000000));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            path_ = candidate.string();
            break;
        }
        if (attempt == 100)
            throw std::runtime_error("cannot make a scratch directory in " + base.string());
    }
    previous_ = fs::current_path().string();
    fs::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    if (ignored)
        return;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDirectory::windowsPath() const {
#ifdef _WIN32
    return path_;
#else
    std::string windows = "Z:" + path_;
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
#endif
}

std::string ScratchDirectory::posixPath() const {
#ifdef _WIN32
    return toPosixPath(path_);
#else
    return path_;
#endif
}

void makeDirectory(const std::string& path) {
    std::filesystem::create_directories(path);
}

std::string systemText(int posixError, unsigned long windowsError) {
#ifdef _WIN32
    (void)posixError;
    SetLastError(windowsError);
#else
    (void)windowsError;
    errno = posixError;
#endif
    return lastErrorText();
}

std::string systemReport(int posixError, unsigned long windowsError) {
#ifdef _WIN32
    (void)posixError;
    return systemErrorReport(windowsError);
#else
    (void)windowsError;
    return systemErrorReport(static_cast<unsigned long>(posixError));
#endif
}

#ifdef _WIN32
const char pathSeparator = ';';
#else
const char pathSeparator = ':';
#endif

void writeFile(const std::string& name, const std::string& contents) {
    std::ofstream file(name, std::ios::binary);
    file << contents;
    if (!file)
        throw std::runtime_error("cannot write " + name);
}

std::string readFile(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

namespace {

void setOrUnset(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
    // The Windows environment, which children inherit; the C runtime's copy is not it.
    SetEnvironmentVariableW(std::wstring(name.begin(), name.end()).c_str(),
                            value ? toWide(*value).c_str() : nullptr);
#else
    if (value)
        setenv(name.c_str(), value->c_str(), 1);
    else
        unsetenv(name.c_str());
#endif
}

} // namespace

ScopedEnvironment::ScopedEnvironment(const char* name, std::optional<std::string> value)
    : name_(name), previous_(environmentValue(name)) {
    setOrUnset(name_, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    setOrUnset(name_, previous_);
}

StartupLib::StartupLib(std::optional<std::string> value) : lib_("LIB", std::move(value)) {
    savedLibPath.reset();
}

StartupLib::~StartupLib() {
    savedLibPath.reset();
}

ProgramResult runProgram(const std::vector<std::string>& command) {
    std::vector<std::string> words;
    const char* wrapper = std::getenv("ZARN_TEST_WRAPPER");
    if (wrapper != nullptr && !command.empty() && command[0] == ZARN_PROGRAM)
        words = splitCommandLine(wrapper);
    words.insert(words.end(), command.begin(), command.end());
    std::string commandLine;
    for (const std::string& word : words) {
        if (!commandLine.empty())
            commandLine += ' ';
        commandLine += quoteArgument(word);
    }
    CapturedOutput out, err;
    int status = runExternalProcess(commandLine, out, err);
    return {status, std::string(capturedText(out)), std::string(capturedText(err))};
}

#ifndef _WIN32
int startProgram(const std::vector<std::string>& command, bool ownGroup) {
    std::vector<std::string> words = command;
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    if (ownGroup) {
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
    }
    pid_t pid = -1;
    int error = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error("cannot start " + command[0]);
    return pid;
}

int waitProgram(int pid) {
    int status = -1;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}
#endif

std::vector<std::string> directoryNames(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace zarn::test

namespace zarn::test {

namespace {

std::string pathWithStandIns() {
    std::optional<std::string> path = environmentValue("PATH");
    return std::string(STANDIN_BIN_DIR) + pathSeparator + path.value_or("/usr/bin:/bin");
}

// Reads "<length>:<bytes>\n" at the position.
std::string readCounted(const std::string& log, std::size_t& at) {
    std::size_t colon = log.find(':', at);
    std::size_t length = std::stoul(log.substr(at, colon - at));
    std::string value = log.substr(colon + 1, length);
    at = colon + 1 + length + 1;
    return value;
}

} // namespace

StandInTools::StandInTools() : path_("PATH", pathWithStandIns()) {
    log_ = (std::filesystem::current_path() / "stand-in.log").string();
    std::remove(log_.c_str());
    set("STANDIN_LOG", log_);
}

StandInTools::~StandInTools() {
    for (const std::string& name : names_)
        setOrUnset(name, std::nullopt);
}

void StandInTools::set(const char* name, const std::string& value) {
    names_.push_back(name);
    setOrUnset(name, value);
}

std::vector<ToolRun> StandInTools::runs() const {
    std::string log = readFile(log_);
    std::vector<ToolRun> runs;
    std::size_t at = 0;
    while (log.compare(at, 4, "run\n") == 0) {
        at += 4;
        ToolRun run;
        while (log.compare(at, 4, "LIB ") != 0 && log.compare(at, 4, "RSP ") != 0)
            run.arguments.push_back(readCounted(log, at));
        if (log.compare(at, 4, "RSP ") == 0) {
            at += 4;
            run.responseFile = readCounted(log, at);
        }
        at += 4;
        if (log.compare(at, 6, "unset\n") == 0)
            at += 6;
        else
            run.lib = readCounted(log, at);
        at += 4; // "end\n"
        runs.push_back(run);
    }
    return runs;
}

std::string joinArguments(const ToolRun& run) {
    std::string joined;
    for (const std::string& argument : run.arguments)
        joined += (joined.empty() ? "" : " ") + argument;
    return joined;
}

std::string floodBytes(std::size_t count, int stream) {
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] =
            static_cast<char>((i * 31 + i / 65536 + static_cast<std::size_t>(stream) * 101) & 0xff);
    return bytes;
}

} // namespace zarn::test
