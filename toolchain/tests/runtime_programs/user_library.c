/* A Windows DLL named with -l: user32's CharUpperA. */
#include <stdio.h>
#include <windows.h>

int main(void) {
    char text[] = "upper";
    CharUpperA(text);
    printf("%s\n", text);
    return 0;
}
