/* A program's own definitions of names the headers also know: strlwr, which Microsoft's
   string.h declares, and mode_t, defined as configure defines it where it finds none. */
#define mode_t int
#include <stdio.h>
#include <string.h>
#include <sys/types.h>

char* strlwr(char* text) {
    for (char* c = text; *c; ++c)
        *c = (char)(*c >= 'A' && *c <= 'Z' ? *c + 32 : *c);
    return text;
}

int main(void) {
    char text[] = "OWN";
    mode_t mode = -1;
    printf("%s %d %s\n", strlwr(text), mode, strdup("old name"));
    return 0;
}
