/* Wine's wchar.h, with what Microsoft's declares of ucrtbase.dll's exports and Wine's does
   not. */
#ifndef ZARN_RUNTIME_WCHAR_H
#define ZARN_RUNTIME_WCHAR_H

#include_next <wchar.h>

#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP long double __cdecl wcstold(const wchar_t* text, wchar_t** end);
_ACRTIMP long double __cdecl _wcstold_l(const wchar_t* text, wchar_t** end, _locale_t locale);
_ACRTIMP double __cdecl _wcstod_l(const wchar_t* text, wchar_t** end, _locale_t locale);
_ACRTIMP float __cdecl _wcstof_l(const wchar_t* text, wchar_t** end, _locale_t locale);
_ACRTIMP errno_t __cdecl wcrtomb_s(size_t* length, char* buffer, size_t size, wchar_t character,
                                   mbstate_t* state);
_ACRTIMP errno_t __cdecl wcsrtombs_s(size_t* length, char* buffer, size_t size,
                                     const wchar_t** text, size_t count, mbstate_t* state);
_ACRTIMP errno_t __cdecl mbsrtowcs_s(size_t* length, wchar_t* buffer, size_t size,
                                     const char** text, size_t count, mbstate_t* state);
_ACRTIMP errno_t __cdecl wmemmove_s(wchar_t* target, size_t size, const wchar_t* source,
                                    size_t count);
#ifdef __cplusplus
}
#endif

#endif
