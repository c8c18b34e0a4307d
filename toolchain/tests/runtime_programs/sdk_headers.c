/* Headers named as Windows names them, the types portable code defines for itself where
   Microsoft's headers have none, and functions that ucrtbase.dll exports and Microsoft's headers
   declare. */
#include <WinSock2.h>
#include <Windows.h>
#include <ShlObj.h>
#include <SYS/Types.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef unsigned short mode_t;
typedef long pid_t;
#define STDIN_FILENO _fileno(stdin)

static int compare(void* context, const void* left, const void* right) {
    ++*(int*)context;
    return *(const int*)left - *(const int*)right;
}

int main(void) {
    int numbers[] = {3, 1, 2};
    int comparisons = 0;
    qsort_s(numbers, 3, sizeof numbers[0], compare, &comparisons);
    struct timespec now;
    mode_t mode = 0644;
    printf("%d%d%d %g %d %o %d\n", numbers[0], numbers[1], numbers[2], fma(2.0, 3.0, 1.0),
           timespec_get(&now, TIME_UTC), mode, comparisons > 0 && MB_CUR_MAX >= 1);
    return STDIN_FILENO;
}
