/* gcc mode's sys/time.h, as a mingw-hosted project expects it: struct timeval, as winsock.h
   defines it, and gettimeofday() from the runtime. Its directory is searched only in gcc mode
   (the compile defines __ZARN_GCC__): without it there is no sys/time.h, as with Microsoft's
   headers, and __has_include says so. */
#ifndef ZARN_RUNTIME_SYS_TIME_H
#define ZARN_RUNTIME_SYS_TIME_H

#include <stdlib.h>
#include <sys/types.h>
#include <time.h>

/* Wine's winsock.h and winsock2.h define struct timeval as well, after a first part, meant for
   Unix's headers, that forgets _TIMEVAL_DEFINED. Without Unix's headers that part only includes
   the three above and asks for select(): done here, they take this struct timeval. */
#ifndef __WINE_WINSOCKAPI_STDLIB_H
#define __WINE_WINSOCKAPI_STDLIB_H
#define WS_DEFINE_SELECT
#endif

#ifdef __cplusplus
extern "C" {
#endif

#ifndef _TIMEVAL_DEFINED
#define _TIMEVAL_DEFINED
typedef struct timeval {
    long tv_sec;
    long tv_usec;
} TIMEVAL, *PTIMEVAL, *LPTIMEVAL;
#endif

struct timezone {
    int tz_minuteswest;
    int tz_dsttime;
};

/* The time since 1970 in microseconds; a struct timezone, if given, gets the local time
   zone's distance from UTC in minutes and whether summer time is in force. */
int __cdecl gettimeofday(struct timeval* time, void* zone);

#ifdef __cplusplus
}
#endif

#endif
