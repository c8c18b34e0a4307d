/* A console program on the C runtime: it computes with the calc library, greets through the
   greet DLL, writes its result to the file its first argument names and reads it back, then
   exits with the status its second argument gives. */
#include "calc.h"
#include "greet.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { line_size = 128 };

static int write_line(const char* name, const char* line) {
    FILE* file = fopen(name, "w");
    if (!file)
        return 0;
    int written = fprintf(file, "%s\n", line) >= 0;
    return fclose(file) == 0 && written;
}

static int read_line(const char* name, char* line) {
    FILE* file = fopen(name, "r");
    if (!file)
        return 0;
    int read = fgets(line, line_size, file) != NULL;
    fclose(file);
    line[strcspn(line, "\n")] = '\0';
    return read;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: app FILE STATUS\n");
        return 2;
    }
    static const int values[] = {1, 2, 3, 4, 5};
    int sum = calc_sum(values, (int)(sizeof values / sizeof values[0]));
    char scaled[12];
    scaled[calc_format(scaled, (int)sizeof scaled - 1, calc_scale(sum))] = '\0';

    char* line = malloc(line_size);
    char* back = malloc(line_size);
    if (!line || !back) {
        fprintf(stderr, "app: out of memory\n");
        return 1;
    }
    snprintf(line, line_size, "sum=%d scaled=%s greeting=%.*s", sum, scaled, greet_length(),
             greet_message());
    if (!write_line(argv[1], line) || !read_line(argv[1], back) || strcmp(line, back) != 0) {
        fprintf(stderr, "app: cannot write and read back \"%s\"\n", argv[1]);
        return 1;
    }
    printf("%s\n", back);
    printf("read back from \"%s\"\n", argv[1]);
    free(back);
    free(line);
    return atoi(argv[2]);
}
