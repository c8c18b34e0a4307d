/* gcc mode's (__ZARN_GCC__) dirent.h, as a mingw-hosted project expects it: opendir(),
   readdir(), rewinddir() and closedir() from the runtime, on the Win32 API, with names in the
   code page of the C runtime's narrow file functions. Without gcc mode it is Wine's, which
   declares none of them. */
#ifndef __ZARN_GCC__
#include_next <dirent.h>
#else
#ifndef ZARN_RUNTIME_DIRENT_H
#define ZARN_RUNTIME_DIRENT_H

#include <direct.h>
#include <sys/types.h>

#ifdef __cplusplus
extern "C" {
#endif

struct dirent {
    long d_ino;              /* always 0: Windows files have no inode numbers */
    unsigned short d_reclen; /* the size of the structure */
    unsigned short d_namlen; /* the length of d_name */
    char d_name[780];        /* any Windows name: 259 UTF-16 units, at most 3 bytes each */
};

typedef struct zarn_directory DIR;

DIR* __cdecl opendir(const char* name);
struct dirent* __cdecl readdir(DIR* directory);
void __cdecl rewinddir(DIR* directory);
int __cdecl closedir(DIR* directory);

#ifdef __cplusplus
}
#endif

#endif
#endif
