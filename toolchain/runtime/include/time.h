/* Wine's time.h, with what Microsoft's declares and Wine's does not: struct timespec and
   timespec_get, which ucrtbase.dll implements as _timespec64_get, and _strftime_l and
   asctime_s, which it exports. */
#ifndef ZARN_RUNTIME_TIME_H
#define ZARN_RUNTIME_TIME_H

#include_next <time.h>

#ifndef _TIMESPEC_DEFINED
#define _TIMESPEC_DEFINED
struct timespec {
    time_t tv_sec;
    long tv_nsec;
};
#endif
#ifndef TIME_UTC
#define TIME_UTC 1
#endif

#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP int __cdecl _timespec64_get(struct timespec* time, int base);
static __inline int __cdecl timespec_get(struct timespec* time, int base) {
    return _timespec64_get(time, base);
}
_ACRTIMP size_t __cdecl _strftime_l(char* text, size_t size, const char* format,
                                    const struct tm* time, _locale_t locale);
_ACRTIMP errno_t __cdecl asctime_s(char* text, size_t size, const struct tm* time);
#ifdef __cplusplus
}
#endif

#endif
