/* Wine's ctype.h, with what Microsoft's declares of ucrtbase.dll's exports and Wine's does
   not. */
#ifndef ZARN_RUNTIME_CTYPE_H
#define ZARN_RUNTIME_CTYPE_H

#include_next <ctype.h>

#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP const unsigned short* __cdecl __pctype_func(void);
_ACRTIMP int __cdecl _isalnum_l(int character, _locale_t locale);
_ACRTIMP int __cdecl _isalpha_l(int character, _locale_t locale);
_ACRTIMP int __cdecl _iscntrl_l(int character, _locale_t locale);
_ACRTIMP int __cdecl _isdigit_l(int character, _locale_t locale);
_ACRTIMP int __cdecl _isgraph_l(int character, _locale_t locale);
_ACRTIMP int __cdecl _islower_l(int character, _locale_t locale);
_ACRTIMP int __cdecl _ispunct_l(int character, _locale_t locale);
_ACRTIMP int __cdecl _isupper_l(int character, _locale_t locale);
_ACRTIMP int __cdecl _isxdigit_l(int character, _locale_t locale);
_ACRTIMP int __cdecl _iswcntrl_l(wint_t character, _locale_t locale);
_ACRTIMP int __cdecl _iswxdigit_l(wint_t character, _locale_t locale);
#ifdef __cplusplus
}
#endif

#endif
