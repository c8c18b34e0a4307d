/* Wine's winnt.h, for compilers other than Microsoft's, defines InterlockedCompareExchange128
   under the name of the compiler's built-in _InterlockedCompareExchange128, which C++ rejects.
   Its definition is kept under another name, and the name leads to the built-in. */
#ifndef ZARN_RUNTIME_WINNT_H
#define ZARN_RUNTIME_WINNT_H

#define _InterlockedCompareExchange128 zarn_wine_InterlockedCompareExchange128
#include_next <winnt.h>
#undef _InterlockedCompareExchange128
#undef InterlockedCompareExchange128
#define InterlockedCompareExchange128 _InterlockedCompareExchange128

#endif
