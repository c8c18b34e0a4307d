#include "host/paths.h"

#include <gtest/gtest.h>

namespace zarn {
namespace {

// Wine's convention, the default: the POSIX root is drive Z:.
const PathConvention wine;

// POSIX names reach the tools in Windows form, with the POSIX root as drive Z:.
TEST(Paths, ToWindowsPath) {
    struct Row {
        std::string posix, windows;
    } rows[] = {
        {"", ""},
        {"/", "Z:\\"},
        {"/usr/lib", "Z:\\usr\\lib"},
        {"/tmp/a b/c.obj", "Z:\\tmp\\a b\\c.obj"},
        {"a/b", "a\\b"},
        {"a", "a"},
        {"./a/../b.c", ".\\a\\..\\b.c"},
        {"dir/", "dir\\"},
        {"/usr/lib/", "Z:\\usr\\lib\\"},
        {"a//b///c", "a\\b\\c"},
        {"/cygdrive/c", "C:\\"},
        {"/cygdrive/c/", "C:\\"},
        {"/cygdrive/d/work/x.obj", "D:\\work\\x.obj"},
        {"/cygdrive/c/dir/", "C:\\dir\\"},
        {"/cygdrive//e//x", "E:\\x"},
        {"/cygdrive", "Z:\\cygdrive"},
        {"/cygdrive/cd/x", "Z:\\cygdrive\\cd\\x"},
        {"/cygdrive/1/x", "Z:\\cygdrive\\1\\x"},
        {"/cygdrivex/c", "Z:\\cygdrivex\\c"},
        {"//server/share/a", "\\\\server\\share\\a"},
        {"///tmp/a", "Z:\\tmp\\a"},
        {"C:\\work\\a.obj", "C:\\work\\a.obj"},
        {"c:/work//a.obj", "c:\\work\\a.obj"},
        {"C:", "C:"},
        {"\\\\server\\share", "\\\\server\\share"},
        {"a\\b", "a\\b"},
        {"\xc3\xa4/\xe2\x82\xac.c", "\xc3\xa4\\\xe2\x82\xac.c"},
    };
    for (Row& row : rows)
        EXPECT_EQ(toWindowsPath(row.posix, wine), row.windows) << row.posix;
}

// The compiler's names come back in POSIX form, escaped backslashes included.
TEST(Paths, ToPosixPath) {
    struct Row {
        std::string windows, posix;
    } rows[] = {
        {"", ""},
        {"Z:\\", "/"},
        {"Z:", "/"},
        {"z:\\src\\a.h", "/src/a.h"},
        {"Z:\\\\src\\\\a b.h", "/src/a b.h"},
        {"c:\\\\dir\\\\a.h", "/cygdrive/c/dir/a.h"},
        {"C:\\Program Files\\VC\\stdio.h", "/cygdrive/c/Program Files/VC/stdio.h"},
        {"C:", "/cygdrive/c/"},
        {"C:x.h", "/cygdrive/c/x.h"},
        {"inc\\\\a.h", "inc/a.h"},
        {"inc/a.h", "inc/a.h"},
        {"a.h", "a.h"},
        {"\\\\server\\share\\a.h", "//server/share/a.h"},
        {"\\\\\\server\\a.h", "//server/a.h"},
        {"/already/posix", "/already/posix"},
        {"dir\\", "dir/"},
    };
    for (Row& row : rows)
        EXPECT_EQ(toPosixPath(row.windows, wine), row.posix) << row.windows;
}

// Absolute POSIX names survive the trip to Windows form and back.
TEST(Paths, RoundTrip) {
    const char* paths[] = {"/",         "/usr/lib",       "/tmp/a b/c.obj",
                           "/usr/lib/", "//server/share", "/cygdrive/c/x",
                           "/x/y/z.h"};
    for (const char* path : paths)
        EXPECT_EQ(toPosixPath(toWindowsPath(path, wine), wine), path)
            << "via " << toWindowsPath(path, wine);
}

// On Windows the root is the POSIX environment's folder, MSYS2's "/c/…" names drive C:, and
// under MSYS2 drives are written back that way.
TEST(Paths, WindowsHostConventions) {
    PathConvention msys{"C:\\msys64", true, "/"};
    PathConvention cygwin{"C:\\cygwin64", true, "/cygdrive/"};
    struct Row {
        const PathConvention& convention;
        std::string posix, windows, back;
    } rows[] = {
        {msys, "/usr/include/stdio.h", "C:\\msys64\\usr\\include\\stdio.h", "/usr/include/stdio.h"},
        {msys, "/", "C:\\msys64\\", "/"},
        {msys, "/c/work/a.c", "C:\\work\\a.c", "/c/work/a.c"},
        {msys, "/d", "D:\\", "/d/"},
        {msys, "/cygdrive/e/x", "E:\\x", "/e/x"},
        {msys, "/cd/x", "C:\\msys64\\cd\\x", "/cd/x"},
        {msys, "C:/msys64x/a", "C:\\msys64x\\a", "/c/msys64x/a"},
        {msys, "c:\\MSYS64\\\\etc", "c:\\MSYS64\\etc", "/etc"},
        {cygwin, "/usr/lib", "C:\\cygwin64\\usr\\lib", "/usr/lib"},
        {cygwin, "/c/work", "C:\\work", "/cygdrive/c/work"},
        {wine, "/c/work", "Z:\\c\\work", "/c/work"},
    };
    for (Row& row : rows) {
        EXPECT_EQ(toWindowsPath(row.posix, row.convention), row.windows) << row.posix;
        EXPECT_EQ(toPosixPath(row.windows, row.convention), row.back) << row.windows;
    }
}

} // namespace
} // namespace zarn
