/* Old code: POSIX names declared by hand, and one of them defined here, which must not clash
   with the runtime's. */
#include <stdio.h>

char* strdup(const char* text);
int isatty(int descriptor);

char* strrev(char* text) {
    char* end = text;
    while (*end)
        ++end;
    for (char* start = text; start < --end; ++start) {
        char swapped = *start;
        *start = *end;
        *end = swapped;
    }
    return text;
}

int main(void) {
    printf("%s %d\n", strrev(strdup("olleh")), isatty(-1));
    return 0;
}
