/* Wine's corecrt.h, which every header of the C runtime includes, and two things after it.

   It defines wint_t; Wine's stdint.h then asks clang's stddef.h for it again, which defines it
   unless _WINT_T says it is there: a program's own wint_t macro between the two (gnulib's
   rpl_wint_t, an unsigned int, in gzip) met a second typedef of unsigned short under its name.

   For C, the compiler intrinsics that cl.exe knows without a declaration and clang-cl only
   through intrin.h. cl.exe compiles a call of one that the program never declared (xz's
   _BitScanReverse and _BitScanForward64 under _MSC_VER) as the intrinsic; clang-cl, for which
   the adapter makes a name used without a declaration an error, stopped there. Each is a
   builtin of clang's, so these declarations give no function of their own; C++ needs intrin.h
   with either compiler. */
#ifndef ZARN_RUNTIME_CORECRT_H
#define ZARN_RUNTIME_CORECRT_H
#include_next <corecrt.h>
#if defined(_WCTYPE_T_DEFINED) && !defined(_WINT_T)
#define _WINT_T
#endif
#if !defined(__cplusplus) && !defined(RC_INVOKED) && defined(__x86_64__)
void* _AddressOfReturnAddress(void);
unsigned char _BitScanForward(unsigned long*, unsigned long);
unsigned char _BitScanReverse(unsigned long*, unsigned long);
unsigned char _BitScanForward64(unsigned long*, unsigned __int64);
unsigned char _BitScanReverse64(unsigned long*, unsigned __int64);
__int64 _InterlockedAnd64(__int64 volatile*, __int64);
__int64 _InterlockedOr64(__int64 volatile*, __int64);
__int64 _InterlockedXor64(__int64 volatile*, __int64);
__int64 _InterlockedDecrement64(__int64 volatile*);
__int64 _InterlockedIncrement64(__int64 volatile*);
__int64 _InterlockedExchange64(__int64 volatile*, __int64);
__int64 _InterlockedExchangeAdd64(__int64 volatile*, __int64);
__int64 _InterlockedExchangeSub64(__int64 volatile*, __int64);
/* Read while the runtime's winnt.h keeps Wine's function of this name under another one. */
#pragma push_macro("_InterlockedCompareExchange128")
#undef _InterlockedCompareExchange128
unsigned char _InterlockedCompareExchange128(__int64 volatile*, __int64, __int64, __int64*);
#pragma pop_macro("_InterlockedCompareExchange128")
void _ReadBarrier(void);
void _WriteBarrier(void);
void _ReadWriteBarrier(void);
void __faststorefence(void);
__int64 __emul(int, int);
unsigned __int64 __emulu(unsigned int, unsigned int);
__int64 __mulh(__int64, __int64);
unsigned __int64 __umulh(unsigned __int64, unsigned __int64);
__int64 _mul128(__int64, __int64, __int64*);
unsigned __int64 _umul128(unsigned __int64, unsigned __int64, unsigned __int64*);
unsigned __int64 __shiftleft128(unsigned __int64, unsigned __int64, unsigned char);
unsigned __int64 __shiftright128(unsigned __int64, unsigned __int64, unsigned char);
unsigned char __readgsbyte(unsigned long);
unsigned short __readgsword(unsigned long);
unsigned long __readgsdword(unsigned long);
unsigned __int64 __readgsqword(unsigned long);
void __stosb(unsigned char*, unsigned char, size_t);
void __int2c(void);
void __ud2(void);
#endif
#endif
