/* C, built with -funsigned-char: the count depends on it. */
#include "tally.h"

#include <string.h>

int tally_high(const char* text) {
    int count = 0;
    size_t i;
    for (i = 0; i < strlen(text); ++i)
        if (text[i] > 127)
            ++count;
    return count;
}
