/* Each argument in brackets, so that blanks and quotes show. */
#include <stdio.h>

int main(int argc, char** argv) {
    printf("%d:", argc - 1);
    for (int i = 1; i < argc; ++i)
        printf(" [%s]", argv[i]);
    printf("\n");
    return 0;
}
