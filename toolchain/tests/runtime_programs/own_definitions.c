/* A program's own definitions of names the headers also know: strlwr, which Microsoft's
   string.h declares, mode_t, defined as configure defines it where it finds none, and wint_t,
   made wider as gnulib makes it between the C runtime's headers. */
#define mode_t int
#include <stdio.h>
#include <string.h>
#include <sys/types.h>

typedef unsigned int own_wint_t;
#undef wint_t
#define wint_t own_wint_t
#include <stdint.h>
#include <stdlib.h>

char* strlwr(char* text) {
    for (char* c = text; *c; ++c)
        *c = (char)(*c >= 'A' && *c <= 'Z' ? *c + 32 : *c);
    return text;
}

int main(void) {
    char text[] = "OWN";
    mode_t mode = -1;
    wint_t wide = (wint_t)-1;
    /* The old names of the C runtime's error texts, as Microsoft's stdlib.h gives them. */
    int known = sys_nerr > 40 && strcmp(sys_errlist[2], strerror(2)) == 0;
    printf("%s %d %s %u %d\n", strlwr(text), mode, strdup("old name"), wide, known);
    return 0;
}
