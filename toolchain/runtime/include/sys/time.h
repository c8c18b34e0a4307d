/* gcc mode's (__ZARN_GCC__) sys/time.h, as a mingw-hosted project expects it: struct timeval,
   as winsock.h defines it, and gettimeofday() from the runtime. Without gcc mode there is none,
   as with Microsoft's headers. */
#ifndef __ZARN_GCC__
#include_next <sys/time.h>
#else
#ifndef ZARN_RUNTIME_SYS_TIME_H
#define ZARN_RUNTIME_SYS_TIME_H

#include <time.h>

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
#endif
