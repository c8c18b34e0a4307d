/* Writes a file, reads it back and removes it. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(void) {
    const char* name = "round trip.txt";
    FILE* out = fopen(name, "w");
    if (!out || fprintf(out, "line %d\nline %d\n", 1, 2) < 0 || fclose(out) != 0)
        return 10;
    char* line = malloc(64);
    FILE* in = fopen(name, "r");
    if (!line || !in)
        return 11;
    while (fgets(line, 64, in))
        printf("read %s", line);
    fclose(in);
    free(line);
    return remove(name) == 0 ? 0 : 12;
}
