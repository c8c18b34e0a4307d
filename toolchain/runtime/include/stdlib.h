/* Wine's stdlib.h, with the exit status of failure that Windows programs use: 1, not -1, which
   a shell would see as 255; and with what Microsoft's declares of ucrtbase.dll's exports and
   Wine's does not. */
#ifndef ZARN_RUNTIME_STDLIB_H
#define ZARN_RUNTIME_STDLIB_H

#include_next <stdlib.h>

#undef EXIT_FAILURE
#define EXIT_FAILURE 1

#ifndef MB_CUR_MAX
#define MB_CUR_MAX ___mb_cur_max_func()
#endif

#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP int __cdecl ___mb_cur_max_l_func(_locale_t locale);
_ACRTIMP int* __cdecl __sys_nerr(void);
_ACRTIMP char** __cdecl __sys_errlist(void);
#define _sys_nerr (*__sys_nerr())
#define _sys_errlist (__sys_errlist())
/* Their old names, as Microsoft's stdlib.h gives them (gnulib's strerror_r reads them). */
#if !defined(sys_nerr) && !defined(sys_errlist)
#define sys_nerr _sys_nerr
#define sys_errlist _sys_errlist
#endif
_ACRTIMP double __cdecl _strtod_l(const char* text, char** end, _locale_t locale);
_ACRTIMP float __cdecl _strtof_l(const char* text, char** end, _locale_t locale);
_ACRTIMP long __cdecl _strtol_l(const char* text, char** end, int base, _locale_t locale);
_ACRTIMP unsigned long __cdecl _strtoul_l(const char* text, char** end, int base, _locale_t locale);
_ACRTIMP void __cdecl qsort_s(void* base, size_t count, size_t size,
                              int(__cdecl* compare)(void*, const void*, const void*),
                              void* context);
_ACRTIMP void* __cdecl bsearch_s(const void* key, const void* base, size_t count, size_t size,
                                 int(__cdecl* compare)(void*, const void*, const void*),
                                 void* context);
_ACRTIMP errno_t __cdecl getenv_s(size_t* length, char* buffer, size_t size, const char* name);
_ACRTIMP errno_t __cdecl wctomb_s(int* length, char* buffer, size_t size, wchar_t character);
_ACRTIMP __declspec(noreturn) void __cdecl quick_exit(int status);
_ACRTIMP int __cdecl _crt_at_quick_exit(void(__cdecl* function)(void));
static __inline int __cdecl at_quick_exit(void(__cdecl* function)(void)) {
    return _crt_at_quick_exit(function);
}
#ifdef __cplusplus
}
#endif

#endif
