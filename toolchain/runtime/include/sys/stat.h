/* Wine's sys/stat.h; in gcc mode (__ZARN_GCC__) with the POSIX names a mingw-hosted project
   expects: the permission bits, of which Windows keeps only the owner's (the group's and the
   others' are 0, which the C runtime's open and chmod accept), and the S_IS… tests. */
#ifndef ZARN_RUNTIME_SYS_STAT_H
#define ZARN_RUNTIME_SYS_STAT_H

#ifdef __ZARN_GCC__
#include <sys/types.h>
#endif
#include_next <sys/stat.h>

#ifdef __ZARN_GCC__
#define S_IFIFO _S_IFIFO
#define S_IRUSR _S_IREAD
#define S_IWUSR _S_IWRITE
#define S_IXUSR _S_IEXEC
#define S_IRWXU (S_IRUSR | S_IWUSR | S_IXUSR)
#define S_IRGRP 0
#define S_IWGRP 0
#define S_IXGRP 0
#define S_IRWXG 0
#define S_IROTH 0
#define S_IWOTH 0
#define S_IXOTH 0
#define S_IRWXO 0
#define S_ISDIR(mode) (((mode)&_S_IFMT) == _S_IFDIR)
#define S_ISREG(mode) (((mode)&_S_IFMT) == _S_IFREG)
#define S_ISCHR(mode) (((mode)&_S_IFMT) == _S_IFCHR)
#define S_ISFIFO(mode) (((mode)&_S_IFMT) == _S_IFIFO)
#endif

#endif
