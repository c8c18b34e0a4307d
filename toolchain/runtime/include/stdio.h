/* Wine's stdio.h, without the POSIX STDIN_FILENO, STDOUT_FILENO and STDERR_FILENO, which
   Microsoft's does not define and portable code defines for itself on Windows; and with the
   bounds-checked functions that ucrtbase.dll exports, and vsnprintf_s, which Microsoft's
   defines as _vsnprintf_s. */
#ifndef ZARN_RUNTIME_STDIO_H
#define ZARN_RUNTIME_STDIO_H

#include_next <stdio.h>

#undef STDIN_FILENO
#undef STDOUT_FILENO
#undef STDERR_FILENO

#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP char* __cdecl gets_s(char* buffer, size_t size);
_ACRTIMP errno_t __cdecl tmpfile_s(FILE** file);
_ACRTIMP errno_t __cdecl tmpnam_s(char* name, size_t size);
static __inline int __cdecl vsnprintf_s(char* buffer, size_t size, size_t count, const char* format,
                                        va_list arguments) {
    return _vsnprintf_s(buffer, size, count, format, arguments);
}
#ifdef __cplusplus
}
#endif

#endif
