#include "calc.h"
#include "calc_internal.h"

int calc_sum(const int* values, int count) {
    long long total = 0;
    for (int i = 0; i < count; ++i)
        total += values[i];
    return calc_saturate(total);
}
