#include "calc.h"
#include "calc_internal.h"

int calc_scale(int value) {
    return calc_saturate((long long)value * CALC_SCALE_FACTOR);
}
