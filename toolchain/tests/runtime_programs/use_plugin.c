#include <stdio.h>

__declspec(dllimport) int plugin_twice(int value);

int main(void) {
    int twice = plugin_twice(21);
    printf("main got %d\n", twice);
    fflush(stdout);
    return twice == 42 ? 0 : 1;
}
