/* Used by the library alone: touching it rebuilds calc.c and nothing else. */
#ifndef ROUND_H
#define ROUND_H

#define CALC_ROUND(x) ((double)(long)((x)*1000.0 + 0.5) / 1000.0)

#endif
