#ifdef HAVE_CONFIG_H
#include <config.h>
#endif

#include <stdio.h>

#include "calc.h"

int main(void) {
    int failed = 0;
    if (calc_sum(40, 2) != 42) {
        puts("calc_sum(40, 2) is not 42");
        failed = 1;
    }
    if (calc_hypot(3.0, 4.0) != 5.0) {
        printf("calc_hypot(3, 4) is %g, not 5\n", calc_hypot(3.0, 4.0));
        failed = 1;
    }
    if (!failed)
        puts("calc: all checks passed");
    return failed;
}
