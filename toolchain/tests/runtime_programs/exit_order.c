/* Handlers run the last registered first, and exit's status is the program's. */
#include <stdio.h>
#include <stdlib.h>

static void registered_first(void) {
    puts("registered first, runs last");
}

static void registered_second(void) {
    puts("registered second, runs first");
}

static void give_up(void) {
    exit(EXIT_FAILURE);
}

int main(void) {
    atexit(registered_first);
    atexit(registered_second);
    give_up();
    return 0;
}
