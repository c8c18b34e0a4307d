/* Wine's string.h, with the old names that Microsoft's declares (strdup, strlwr, stricmp …) as
   plain declarations of the functions oldnames.lib gives, where Wine's defines them as inline
   functions: a program's own definition of one (as gzip has strlwr) clashed with Wine's. They
   are declared without dllimport, so that such a definition is neither an inconsistent linkage
   nor exported. In gcc mode (__ZARN_GCC__) strcasecmp and strncasecmp, which Microsoft's lacks,
   are declared the same way, as mingw's string.h has them; without gcc mode they stay Wine's.
   A program's own macro of one of these names is kept. */
#ifndef ZARN_RUNTIME_STRING_H
#define ZARN_RUNTIME_STRING_H
#pragma push_macro("strcmpi")
#undef strcmpi
#define strcmpi zarn_wine_inline_strcmpi
#pragma push_macro("strdup")
#undef strdup
#define strdup zarn_wine_inline_strdup
#pragma push_macro("stricmp")
#undef stricmp
#define stricmp zarn_wine_inline_stricmp
#pragma push_macro("stricoll")
#undef stricoll
#define stricoll zarn_wine_inline_stricoll
#pragma push_macro("strlwr")
#undef strlwr
#define strlwr zarn_wine_inline_strlwr
#pragma push_macro("strnicmp")
#undef strnicmp
#define strnicmp zarn_wine_inline_strnicmp
#pragma push_macro("strnset")
#undef strnset
#define strnset zarn_wine_inline_strnset
#pragma push_macro("strrev")
#undef strrev
#define strrev zarn_wine_inline_strrev
#pragma push_macro("strset")
#undef strset
#define strset zarn_wine_inline_strset
#pragma push_macro("strupr")
#undef strupr
#define strupr zarn_wine_inline_strupr
#pragma push_macro("wcsdup")
#undef wcsdup
#define wcsdup zarn_wine_inline_wcsdup
#pragma push_macro("wcsicmp")
#undef wcsicmp
#define wcsicmp zarn_wine_inline_wcsicmp
#pragma push_macro("wcsicoll")
#undef wcsicoll
#define wcsicoll zarn_wine_inline_wcsicoll
#pragma push_macro("wcslwr")
#undef wcslwr
#define wcslwr zarn_wine_inline_wcslwr
#pragma push_macro("wcsnicmp")
#undef wcsnicmp
#define wcsnicmp zarn_wine_inline_wcsnicmp
#pragma push_macro("wcsnset")
#undef wcsnset
#define wcsnset zarn_wine_inline_wcsnset
#pragma push_macro("wcsrev")
#undef wcsrev
#define wcsrev zarn_wine_inline_wcsrev
#pragma push_macro("wcsset")
#undef wcsset
#define wcsset zarn_wine_inline_wcsset
#pragma push_macro("wcsupr")
#undef wcsupr
#define wcsupr zarn_wine_inline_wcsupr
#ifdef __ZARN_GCC__
#pragma push_macro("strcasecmp")
#undef strcasecmp
#define strcasecmp zarn_wine_inline_strcasecmp
#pragma push_macro("strncasecmp")
#undef strncasecmp
#define strncasecmp zarn_wine_inline_strncasecmp
#endif

#include_next <string.h>

#undef strcmpi
#pragma pop_macro("strcmpi")
#undef strdup
#pragma pop_macro("strdup")
#undef stricmp
#pragma pop_macro("stricmp")
#undef stricoll
#pragma pop_macro("stricoll")
#undef strlwr
#pragma pop_macro("strlwr")
#undef strnicmp
#pragma pop_macro("strnicmp")
#undef strnset
#pragma pop_macro("strnset")
#undef strrev
#pragma pop_macro("strrev")
#undef strset
#pragma pop_macro("strset")
#undef strupr
#pragma pop_macro("strupr")
#undef wcsdup
#pragma pop_macro("wcsdup")
#undef wcsicmp
#pragma pop_macro("wcsicmp")
#undef wcsicoll
#pragma pop_macro("wcsicoll")
#undef wcslwr
#pragma pop_macro("wcslwr")
#undef wcsnicmp
#pragma pop_macro("wcsnicmp")
#undef wcsnset
#pragma pop_macro("wcsnset")
#undef wcsrev
#pragma pop_macro("wcsrev")
#undef wcsset
#pragma pop_macro("wcsset")
#undef wcsupr
#pragma pop_macro("wcsupr")
#ifdef __ZARN_GCC__
#undef strcasecmp
#pragma pop_macro("strcasecmp")
#undef strncasecmp
#pragma pop_macro("strncasecmp")
#endif

#ifdef __cplusplus
extern "C" {
#endif
int __cdecl strcmpi(const char* s1, const char* s2);
char* __cdecl strdup(const char* s);
int __cdecl stricmp(const char* s1, const char* s2);
int __cdecl stricoll(const char* s1, const char* s2);
char* __cdecl strlwr(char* s);
int __cdecl strnicmp(const char* s1, const char* s2, size_t count);
char* __cdecl strnset(char* s, int c, size_t count);
char* __cdecl strrev(char* s);
char* __cdecl strset(char* s, int c);
char* __cdecl strupr(char* s);
wchar_t* __cdecl wcsdup(const wchar_t* s);
int __cdecl wcsicmp(const wchar_t* s1, const wchar_t* s2);
int __cdecl wcsicoll(const wchar_t* s1, const wchar_t* s2);
wchar_t* __cdecl wcslwr(wchar_t* s);
int __cdecl wcsnicmp(const wchar_t* s1, const wchar_t* s2, size_t count);
wchar_t* __cdecl wcsnset(wchar_t* s, wchar_t c, size_t count);
wchar_t* __cdecl wcsrev(wchar_t* s);
wchar_t* __cdecl wcsset(wchar_t* s, wchar_t c);
wchar_t* __cdecl wcsupr(wchar_t* s);
#ifdef __ZARN_GCC__
int __cdecl strcasecmp(const char* s1, const char* s2);
int __cdecl strncasecmp(const char* s1, const char* s2, size_t count);
#endif
#ifdef __cplusplus
}
#endif

#endif
