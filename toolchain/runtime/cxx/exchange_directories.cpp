// Swaps two directories in one step, so that a build reading the cached libc++ source sees the
// old tree or the new one, never a mix or nothing: rename() cannot replace a directory that has
// files in it, and Debian 12's mv has no way to swap. Built by configure, for fetch_libcxx.sh.
//   exchange_directories NEW OLD
// Status 0: swapped; 2: the file system cannot swap (the caller falls back to two renames);
// 1: any other failure, said on standard error.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: exchange_directories NEW OLD\n");
        return 1;
    }
    if (renameat2(AT_FDCWD, argv[1], AT_FDCWD, argv[2], RENAME_EXCHANGE) == 0)
        return 0;
    int error = errno;
    if (error == EINVAL || error == ENOSYS)
        return 2;
    std::fprintf(stderr, "exchange_directories: renameat2(\"%s\", \"%s\"): %s\n", argv[1], argv[2],
                 std::strerror(error));
    return 1;
}
