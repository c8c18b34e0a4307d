/* Shared by the arithmetic of the calc library; not part of its interface. */
#ifndef CALC_INTERNAL_H
#define CALC_INTERNAL_H

#ifndef CALC_SCALE_FACTOR
#define CALC_SCALE_FACTOR 2
#endif

static inline int calc_saturate(long long value) {
    if (value > 2147483647LL)
        return 2147483647;
    if (value < -2147483647LL - 1)
        return -2147483647 - 1;
    return (int)value;
}

#endif
