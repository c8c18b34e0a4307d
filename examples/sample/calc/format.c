#include "calc.h"

int calc_format(char* buffer, int size, int value) {
    /* Digits are produced from the last one, on a magnitude that cannot overflow. */
    char digits[12];
    int count = 0;
    unsigned int magnitude = value < 0 ? 0u - (unsigned int)value : (unsigned int)value;
    do {
        digits[count++] = (char)('0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude != 0u);
    if (value < 0)
        digits[count++] = '-';
    if (count > size)
        return 0;
    for (int i = 0; i < count; ++i)
        buffer[i] = digits[count - 1 - i];
    return count;
}
