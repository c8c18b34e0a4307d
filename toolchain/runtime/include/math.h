/* Wine's math.h, with what Microsoft's declares and Wine's does not: the functions that
   ucrtbase.dll exports, and the long double forms of the older ones, which Microsoft's header
   defines inline (long double is double on Windows). */
#ifndef ZARN_RUNTIME_MATH_H
#define ZARN_RUNTIME_MATH_H

#include_next <math.h>

#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP double __cdecl erfc(double x);
_ACRTIMP float __cdecl erfcf(float x);
_ACRTIMP long double __cdecl erfcl(long double x);
_ACRTIMP double __cdecl fma(double x, double y, double z);
_ACRTIMP float __cdecl fmaf(float x, float y, float z);
_ACRTIMP long double __cdecl fmal(long double x, long double y, long double z);
_ACRTIMP double __cdecl nan(const char* tag);
_ACRTIMP float __cdecl nanf(const char* tag);
_ACRTIMP long double __cdecl nanl(const char* tag);
_ACRTIMP double __cdecl nexttoward(double x, long double y);
_ACRTIMP float __cdecl nexttowardf(float x, long double y);
_ACRTIMP long double __cdecl nexttowardl(long double x, long double y);

#define ZARN_EXPORTED_1(name) _ACRTIMP long double __cdecl name(long double x);
#define ZARN_EXPORTED_2(name) _ACRTIMP long double __cdecl name(long double x, long double y);
ZARN_EXPORTED_1(acoshl)
ZARN_EXPORTED_1(asinhl)
ZARN_EXPORTED_1(atanhl)
ZARN_EXPORTED_1(cbrtl)
ZARN_EXPORTED_1(erfl)
ZARN_EXPORTED_1(exp2l)
ZARN_EXPORTED_1(expm1l)
ZARN_EXPORTED_1(lgammal)
ZARN_EXPORTED_1(log1pl)
ZARN_EXPORTED_1(log2l)
ZARN_EXPORTED_1(logbl)
ZARN_EXPORTED_1(nearbyintl)
ZARN_EXPORTED_1(rintl)
ZARN_EXPORTED_1(roundl)
ZARN_EXPORTED_1(tgammal)
ZARN_EXPORTED_1(truncl)
ZARN_EXPORTED_2(copysignl)
ZARN_EXPORTED_2(fdiml)
ZARN_EXPORTED_2(fmaxl)
ZARN_EXPORTED_2(fminl)
ZARN_EXPORTED_2(nextafterl)
ZARN_EXPORTED_2(remainderl)
#undef ZARN_EXPORTED_1
#undef ZARN_EXPORTED_2
_ACRTIMP int __cdecl ilogbl(long double x);
_ACRTIMP long long __cdecl llrintl(long double x);
_ACRTIMP long long __cdecl llroundl(long double x);
_ACRTIMP long __cdecl lrintl(long double x);
_ACRTIMP long __cdecl lroundl(long double x);
_ACRTIMP long double __cdecl remquol(long double x, long double y, int* quotient);
_ACRTIMP long double __cdecl scalblnl(long double x, long exponent);
_ACRTIMP long double __cdecl scalbnl(long double x, int exponent);

#define ZARN_INLINE_1(name)                                                                        \
    static __inline long double __cdecl name##l(long double x) {                                   \
        return name((double)x);                                                                    \
    }
#define ZARN_INLINE_2(name)                                                                        \
    static __inline long double __cdecl name##l(long double x, long double y) {                    \
        return name((double)x, (double)y);                                                         \
    }
ZARN_INLINE_1(acos)
ZARN_INLINE_1(asin)
ZARN_INLINE_1(atan)
ZARN_INLINE_1(ceil)
ZARN_INLINE_1(cos)
ZARN_INLINE_1(cosh)
ZARN_INLINE_1(exp)
ZARN_INLINE_1(fabs)
ZARN_INLINE_1(floor)
ZARN_INLINE_1(log)
ZARN_INLINE_1(log10)
ZARN_INLINE_1(sin)
ZARN_INLINE_1(sinh)
ZARN_INLINE_1(sqrt)
ZARN_INLINE_1(tan)
ZARN_INLINE_1(tanh)
ZARN_INLINE_2(atan2)
ZARN_INLINE_2(fmod)
ZARN_INLINE_2(hypot)
ZARN_INLINE_2(pow)
#undef ZARN_INLINE_1
#undef ZARN_INLINE_2
static __inline long double __cdecl frexpl(long double x, int* exponent) {
    return frexp((double)x, exponent);
}
static __inline long double __cdecl ldexpl(long double x, int exponent) {
    return ldexp((double)x, exponent);
}
static __inline long double __cdecl modfl(long double x, long double* whole) {
    double part;
    double fraction = modf((double)x, &part);
    *whole = part;
    return fraction;
}
#ifdef __cplusplus
}
#endif

#endif
