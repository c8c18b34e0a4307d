/* A Windows program: its command line, without the program's name, and the status WinMain
   returns. */
#include <stdio.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)previous;
    (void)show;
    printf("WinMain got [%s] %s\n", commandLine, instance ? "with its instance" : "without");
    fflush(stdout);
    return 7;
}
