/* Wine's io.h (which its unistd.h includes); in gcc mode (__ZARN_GCC__) with the modes of
   access() by their POSIX names, as mingw's gives them. The C runtime's access() knows
   existence, reading and writing; it refuses X_OK (EINVAL). */
#ifndef ZARN_RUNTIME_IO_H
#define ZARN_RUNTIME_IO_H

#include_next <io.h>

#ifdef __ZARN_GCC__
#define F_OK 0
#define X_OK 1
#define W_OK 2
#define R_OK 4
#endif

#endif
