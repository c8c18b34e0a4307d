// Where the adapters find the C runtime, and how they add it after the user's search paths.
#include "runtime_search.h"

#include <gtest/gtest.h>

namespace zarn::toolchain {
namespace {

TEST(RuntimeSearch, DirectoriesBesideTheAdapter) {
    RuntimeDirectories runtime = runtimeDirectories("/opt/zarn/libexec/zarn");
    std::vector<std::string> headers{"/opt/zarn/libexec/zarn/runtime/include",
                                     std::string(ZARN_WINE_INCLUDE_DIR) + "/msvcrt",
                                     std::string(ZARN_WINE_INCLUDE_DIR) + "/windows"};
    std::vector<std::string> libraries{"/opt/zarn/libexec/zarn/runtime/lib", ZARN_WINE_LIBRARY_DIR};
    EXPECT_EQ(runtime.headers, headers);
    EXPECT_EQ(runtime.libraries, libraries);
    EXPECT_EQ(runtime.cxxHeaders,
              std::vector<std::string>{"/opt/zarn/libexec/zarn/runtime/include/c++/v1"});
    EXPECT_EQ(runtime.anyCaseHeaders, "/opt/zarn/libexec/zarn/runtime/headers_any_case.yaml");
}

TEST(RuntimeSearch, CompilerOptionsGoWithTheHeaders) {
    RuntimeDirectories runtime = runtimeDirectories("/z");
    std::vector<std::string> options{"/DWINE_UNICODE_NATIVE", "/clang:-ivfsoverlay",
                                     "/clang:/z/runtime/headers_any_case.yaml",
                                     "/clang:-Wno-nonportable-include-path"};
    EXPECT_EQ(runtimeCompilerOptions(runtime), options);
}

// Intrinsics usable in any function: their wrappers come before clang's own headers; gcc mode's
// own headers have a directory of their own.
TEST(RuntimeSearch, IntrinsicsAndGccModeDirectories) {
    RuntimeDirectories runtime = runtimeDirectories("/z");
    EXPECT_EQ(intrinsicsHeadersOption(runtime), "/clang:-isystem/z/runtime/intrinsics");
    EXPECT_EQ(runtime.gccModeHeaders, "/z/runtime/gcc-mode");
}

TEST(RuntimeSearch, SwitchedOffByAnythingButZero) {
    struct Row {
        std::optional<std::string> value;
        bool wanted;
    } rows[] = {
        {std::nullopt, true}, {"", true}, {"0", true}, {"1", false}, {"yes", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(runtimeWanted(row.value), row.wanted) << row.value.value_or("(unset)");
}

TEST(RuntimeSearch, EntriesComeAfterTheUsers) {
    std::vector<std::string> entries{"/r/include", "/w/msvcrt"};
    struct Row {
        std::optional<std::string> value;
        std::string joined;
    } rows[] = {
        {std::nullopt, "/r/include;/w/msvcrt"},
        {"", "/r/include;/w/msvcrt"},
        {"/sdk/include", "/sdk/include;/r/include;/w/msvcrt"},
        {"/a;/b;", "/a;/b;/r/include;/w/msvcrt"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(withEntriesAfter(row.value, entries), row.joined) << row.value.value_or("");
}

TEST(RuntimeSearch, MissingPartIsNamedWithWhatToDo) {
    std::string wineHeaders = std::string(ZARN_WINE_INCLUDE_DIR) + "/no-such-directory";
    struct Row {
        std::vector<std::string> directories;
        std::optional<std::string> message;
    } rows[] = {
        {{"/", "/tmp"}, std::nullopt},
        {{"/", wineHeaders},
         "cl.exe: Wine's C runtime headers and import libraries are not installed (no " +
             wineHeaders +
             "); install the Debian package libwine-dev, or set ZARN_NO_RUNTIME=1 to use only "
             "INCLUDE and LIB\n"},
        {{"/no/runtime/include", wineHeaders},
         "cl.exe: Wine's C runtime headers and import libraries are not installed (no " +
             wineHeaders +
             "); install the Debian package libwine-dev, or set ZARN_NO_RUNTIME=1 to use only "
             "INCLUDE and LIB\n"},
        {{"/no/runtime/lib", "/"},
         "cl.exe: zarn's C runtime is not built (no /no/runtime/lib); build zarn where LLVM and "
         "libwine-dev are installed, or set ZARN_NO_RUNTIME=1 to use only INCLUDE and LIB\n"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(missingRuntimeMessage("cl.exe", row.directories), row.message);
}

// gcc's "-idirafter" directories, which zarn appends to INCLUDE, stay after the runtime's.
TEST(RuntimeSearch, IncludeAfterStaysLast) {
    struct Row {
        std::optional<std::string> include, after;
        std::string joined;
    } rows[] = {
        {std::string("/sdk;/late"), std::string("/late"), "/sdk;/rt;/late"},
        {std::string("/late"), std::string("/late"), "/rt;/late"},
        {std::string("/sdk;/a;/b"), std::string("Z:\\a;/b"), "/sdk;/rt;/a;/b"},
        {std::string("/sdk"), std::nullopt, "/sdk;/rt"},
        {std::string("/sdk;/other"), std::string("/late"), "/sdk;/other;/rt"},
        {std::nullopt, std::nullopt, "/rt"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(includeWithRuntime(row.include, row.after, {"/rt"}), row.joined)
            << row.include.value_or("");
}

} // namespace
} // namespace zarn::toolchain
