/* A write through a null pointer: the SIGSEGV handler runs when the argument asks for one,
   and without it the program ends with the access violation's code. */
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void on_segv(int signal_number) {
    printf("signal %d\n", signal_number);
    fflush(stdout);
    _Exit(4);
}

int main(int argc, char** argv) {
    if (argc > 1 && strcmp(argv[1], "handler") == 0)
        signal(SIGSEGV, on_segv);
    volatile int* volatile nowhere = NULL;
    *nowhere = 1;
    puts("not reached");
    return 0;
}
