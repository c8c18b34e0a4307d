#ifdef HAVE_CONFIG_H
#include <config.h>
#endif

#include <math.h>

#include "calc.h"
#include "round.h"

int calc_sum(int a, int b) {
    return a + b;
}

double calc_hypot(double a, double b) {
#ifdef HAVE_COS
    /* Found by configure in the C runtime: a real maths library is linked. */
    return CALC_ROUND(sqrt(a * a + b * b) * cos(0.0));
#else
    return -1.0;
#endif
}
