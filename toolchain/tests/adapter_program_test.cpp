// The built adapters, run the way zarn runs them: with the LLVM tools, and without them.
#include "host/command_line.h"
#include "host/process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace zarn::toolchain {
namespace {

const std::string toolchainDir = ZARN_TOOLCHAIN_DIR;

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result run(const std::vector<std::string>& command) {
    std::string commandLine;
    for (const std::string& word : command)
        appendArgument(commandLine, word);
    CapturedOutput out, err;
    int status = runExternalProcess(commandLine, out, err);
    return {status, std::string(capturedText(out)), std::string(capturedText(err))};
}

class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* previous = std::getenv(name))
            previous_ = previous;
        set(value);
    }
    ~ScopedEnvironment() { set(previous_); }

  private:
    void set(const std::optional<std::string>& value) {
        int status = value ? setenv(name_.c_str(), value->c_str(), 1) : unsetenv(name_.c_str());
        if (status != 0)
            ADD_FAILURE() << "setenv/unsetenv " << name_;
    }
    std::string name_;
    std::optional<std::string> previous_;
};

class ScratchDirectory {
  public:
    ScratchDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zarn-adapter-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~ScratchDirectory() { std::filesystem::remove_all(path_); }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name, const std::string& contents) const {
        std::string full = path_ + "/" + name;
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        std::ofstream(full) << contents;
        return full;
    }

  private:
    std::string path_;
};

std::string windowsForm(const std::string& posixPath) {
    std::string windows = "Z:" + posixPath;
    for (char& c : windows)
        c = c == '/' ? '\\' : c;
    return windows;
}

// Without the LLVM tools a build stops with a message that says what to install.
TEST(AdapterProgram, MissingToolIsNamedWithItsPackage) {
    ScratchDirectory empty;
    ScopedEnvironment path("PATH", empty.path());
    struct Row {
        const char* adapter;
        std::vector<std::string> arguments;
        const char* tool;
        const char* package;
    } rows[] = {
        {"cl.exe", {"/c", "/Tca.c"}, "clang-cl", "clang-tools-14"},
        {"cl.exe", {}, "clang-cl", "clang-tools-14"},
        {"link.exe", {"/OUT:a.exe", "a.obj"}, "lld-link", "lld"},
        {"lib.exe", {"/OUT:a.lib", "a.obj"}, "llvm-lib", "llvm"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> command{toolchainDir + "/" + row.adapter};
        command.insert(command.end(), row.arguments.begin(), row.arguments.end());
        Result result = run(command);
        EXPECT_EQ(result.status, 1) << row.adapter;
        EXPECT_EQ(result.out, "") << row.adapter;
        EXPECT_NE(result.err.find(std::string(row.adapter) + ": " + row.tool + " is not installed"),
                  std::string::npos)
            << result.err;
        EXPECT_NE(result.err.find(std::string("Debian package ") + row.package), std::string::npos)
            << result.err;
    }
}

TEST(AdapterProgram, UnknownNameIsRefused) {
    Result result = run({toolchainDir + "/zarn-llvm-adapter", "/c"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("call this program as cl.exe, link.exe or lib.exe"),
              std::string::npos)
        << result.err;
}

// The one place beside the man page that tells how to keep the runtime out of a build.
TEST(AdapterProgram, HelpTellsHowToTurnTheRuntimeOff) {
    Result result = run({toolchainDir + "/zarn-llvm-adapter", "--help"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("ZARN_NO_RUNTIME=1"), std::string::npos) << result.out;
}

// The dependency scan needs the #line names in cl.exe's form and the compiler's own status
// when it fails, even though the adapter filters the output.
TEST(AdapterProgram, PreprocessingKeepsStatusAndRewritesNames) {
    ScratchDirectory dir;
    dir.file("inc dir/good.h", "#define GOOD 1\n");
    std::string good = dir.file("good.c", "#include \"good.h\"\nint g = GOOD;\n");
    std::string bad = dir.file("bad.c", "#include \"good.h\"\n#include \"missing.h\"\n");
    std::string windowsDir = windowsForm(dir.path());
    std::string doubledDir;
    for (char c : windowsDir)
        doubledDir += c == '\\' ? std::string("\\\\") : std::string(1, c);

    Result ok = run({toolchainDir + "/cl.exe", "/nologo", "/E", "/c",
                     "/I" + windowsDir + "\\inc dir", "/Tc" + windowsDir + "\\good.c"});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_NE(ok.out.find("#line 1 \"" + doubledDir + "\\\\inc dir\\\\good.h\""), std::string::npos)
        << ok.out;
    EXPECT_NE(ok.out.find("int g = 1;"), std::string::npos) << ok.out;
    EXPECT_EQ(ok.out.find("<built-in>"), std::string::npos) << ok.out;
    EXPECT_EQ(ok.out.find("# 1 "), std::string::npos) << ok.out;

    Result failed = run({toolchainDir + "/cl.exe", "/nologo", "/E", "/c",
                         "/I" + windowsDir + "\\inc dir", "/Tc" + windowsDir + "\\bad.c"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.out.find("#line 1 \"" + doubledDir + "\\\\bad.c\""), std::string::npos)
        << failed.out;
    EXPECT_NE(failed.err.find("'missing.h' file not found"), std::string::npos) << failed.err;
}

// Without /E the adapter becomes the tool, so its status is the tool's.
TEST(AdapterProgram, ToolStatusIsTheAdaptersStatus) {
    ScratchDirectory dir;
    std::string source = dir.file("a.c", "int f(void) { return 0; }\n");
    std::string object = dir.path() + "/a.obj";
    struct Row {
        std::vector<std::string> command;
        int status;
    } rows[] = {
        {{toolchainDir + "/cl.exe", "/nologo", "/c", "/Fo" + object, "/Tc" + source}, 0},
        {{toolchainDir + "/cl.exe", "/nologo", "/c", "/Tc" + dir.path() + "/none.c"}, 1},
        {{toolchainDir + "/lib.exe", "/nologo", "/OUT:" + dir.path() + "/a.lib", object}, 0},
        {{toolchainDir + "/link.exe", "/nologo", "/OUT:" + dir.path() + "/a.exe",
          dir.path() + "/none.obj"},
         1},
    };
    for (const Row& row : rows) {
        Result result = run(row.command);
        EXPECT_EQ(result.status, row.status) << row.command[row.command.size() - 1] << result.err;
    }
}

// The arguments of "@file" (named in Windows form, as zarn names it) are the tool's, and
// converted like any others; an argument list too long for the system reaches the LLVM tool in
// a response file of the adapter's own, which is gone afterwards.
TEST(AdapterProgram, ResponseFiles) {
    ScratchDirectory dir;
    ScopedEnvironment temporary("TMPDIR", dir.path());
    std::string source = dir.file("my src/a.c", "int f(void) { return 0; }\n");
    std::string object = dir.path() + "/my src/a.obj";
    std::string responseFile = dir.file("cl.rsp", "/nologo /c\r\n\"/Fo" + windowsForm(object) +
                                                      "\" \"/Tc" + windowsForm(source) + "\"\n");
    Result compiled = run({toolchainDir + "/cl.exe", "@" + windowsForm(responseFile)});
    EXPECT_EQ(compiled.status, 0) << compiled.err;
    EXPECT_TRUE(std::filesystem::exists(object));

    // 20,000 times the object, by a name of over 100 bytes: over 2 MB in all.
    std::string many = "/nologo /OUT:\"" + windowsForm(dir.path()) + "\\many.lib\"";
    std::string longName =
        windowsForm(dir.path()) + "\\" + std::string(100, 'd') + "\\..\\my src\\a.obj";
    std::filesystem::create_directories(dir.path() + "/" + std::string(100, 'd'));
    for (int i = 0; i < 20000; ++i)
        many += " \"" + longName + "\"";
    Result archived =
        run({toolchainDir + "/lib.exe", "@" + windowsForm(dir.file("lib.rsp", many))});
    EXPECT_EQ(archived.status, 0) << archived.err;
    EXPECT_TRUE(std::filesystem::exists(dir.path() + "/many.lib"));

    Result missing = run({toolchainDir + "/link.exe", "@" + windowsForm(dir.path() + "/none.rsp")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "link.exe: cannot read the response file '" +
                               windowsForm(dir.path() + "/none.rsp") +
                               "': No such file or directory\n");
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"cl.rsp", std::string(100, 'd'), "lib.rsp",
                                              "many.lib", "my src"}));
}

// cl.exe links when neither /c nor /E stops it: clang-cl must then use lld-link, which finds
// the default libraries along LIB as zarn sets it, in Windows form. Empty libraries on LIB
// stand in for the C runtime, and come before the adapters' own.
TEST(AdapterProgram, CompilerLinksWithLldAlongLib) {
    ScratchDirectory dir;
    std::string libs = dir.path() + "/runtime libs";
    std::filesystem::create_directories(libs);
    for (const char* runtime : {"libcmt.lib", "oldnames.lib"}) {
        Result made = run({toolchainDir + "/lib.exe", "/nologo", "/llvmlibempty",
                           "/OUT:" + windowsForm(libs + "/" + runtime)});
        ASSERT_EQ(made.status, 0) << made.err;
    }
    // main makes the linker choose a console program; the runtime would start it.
    std::string source = dir.file(
        "a.c", "int main(void) { return 0; }\nint mainCRTStartup(void) { return main(); }\n");
    ScopedEnvironment lib("LIB", "C:\\nowhere;" + windowsForm(libs));
    Result linked = run({toolchainDir + "/cl.exe", "/nologo",
                         "/Fe" + windowsForm(dir.path()) + "\\a.exe", "/Tc" + windowsForm(source)});
    EXPECT_EQ(linked.status, 0) << linked.err;
    EXPECT_TRUE(std::filesystem::exists(dir.path() + "/a.exe")) << linked.err;
}

} // namespace
} // namespace zarn::toolchain
