/* Wine's stdlib.h, with the exit status of failure that Windows programs use: 1, not -1, which
   a shell would see as 255. */
#ifndef ZARN_RUNTIME_STDLIB_H
#define ZARN_RUNTIME_STDLIB_H

#include_next <stdlib.h>

#undef EXIT_FAILURE
#define EXIT_FAILURE 1

#endif
