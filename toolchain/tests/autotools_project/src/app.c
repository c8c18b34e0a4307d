#ifdef HAVE_CONFIG_H
#include <config.h>
#endif

#include <stdio.h>

#include "calc.h"

int main(void) {
    printf("sum=%d hypot=%g c11=%d\n", calc_sum(2, 3), calc_hypot(3.0, 4.0),
           __STDC_VERSION__ >= 201112L);
    return 0;
}
