/* gettimeofday() of gcc mode's sys/time.h. */
#include "../gcc-mode/sys/time.h"
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "runtime_internal.h"

/* 1970-01-01 in the 100 ns units since 1601-01-01 of a FILETIME. */
#define UNIX_EPOCH 116444736000000000ULL

int __cdecl gettimeofday(struct timeval* time, void* zone) {
    if (time) {
        FILETIME now;
        GetSystemTimePreciseAsFileTime(&now);
        ULONGLONG units = ((ULONGLONG)now.dwHighDateTime << 32 | now.dwLowDateTime) - UNIX_EPOCH;
        time->tv_sec = (long)(units / 10000000);
        time->tv_usec = (long)(units % 10000000 / 10);
    }
    if (zone) {
        TIME_ZONE_INFORMATION information;
        struct timezone* local = zone;
        DWORD kind = GetTimeZoneInformation(&information);
        local->tz_minuteswest = kind == TIME_ZONE_ID_INVALID ? 0 : (int)information.Bias;
        local->tz_dsttime = kind == TIME_ZONE_ID_DAYLIGHT;
    }
    return 0;
}
