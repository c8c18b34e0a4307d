/* The calc library: small integer arithmetic. */
#ifndef CALC_H
#define CALC_H

/* The sum of the values, saturated to the range of int. */
int calc_sum(const int* values, int count);

/* The value multiplied by the library's scale factor, saturated to the range of int. */
int calc_scale(int value);

/* Writes the value in decimal into the buffer, without a terminating zero; returns the number
   of characters written, or 0 if the buffer is too small. */
int calc_format(char* buffer, int size, int value);

#endif
