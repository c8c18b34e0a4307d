/* Microsoft's compiler intrinsics called without intrin.h, as C code written for cl.exe calls
   them (xz's _BitScanReverse under _MSC_VER). */
#include <stdio.h>

int main(void) {
    unsigned long low, high;
    unsigned __int64 upper;
    __int64 counter = 40;
    _BitScanForward(&low, 0x50u);
    _BitScanReverse64(&high, 0x8000000000000001ull);
    unsigned __int64 lower = _umul128(0xFFFFFFFFFFFFFFFFull, 4, &upper);
    _InterlockedExchangeAdd64(&counter, 2);
    printf("%lu %lu %llu %llx %lld\n", low, high, upper, lower, counter);
    return 0;
}
