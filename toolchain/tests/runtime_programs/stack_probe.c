/* Frames of 64 KB, each reserved through a stack probe. */
#include <stdio.h>
#include <string.h>

static size_t deep(int depth) {
    char block[65536];
    memset(block, 'a' + depth, sizeof block - 1);
    block[sizeof block - 1] = '\0';
    return strlen(block) + (depth > 0 ? deep(depth - 1) : 0);
}

int main(void) {
    printf("%zu\n", deep(8));
    return 0;
}
