/* The library's interface: used by the library, the program and the test. */
#ifndef CALC_H
#define CALC_H

int calc_sum(int a, int b);
double calc_hypot(double a, double b);

#endif
