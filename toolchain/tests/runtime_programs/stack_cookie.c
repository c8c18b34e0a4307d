/* Built with /GS: a short argument fits, a long one overruns the array and must end the program
   before copy returns. */
#include <stdio.h>
#include <string.h>

static size_t copy(const char* text) {
    char small[16];
    strcpy(small, text);
    return strlen(small);
}

int main(int argc, char** argv) {
    printf("copied %zu bytes\n", copy(argc > 1 ? argv[1] : ""));
    return 0;
}
