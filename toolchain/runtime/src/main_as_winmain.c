/* The WinMain of a Windows program that has main instead, as gcc-style builds make them
   (gcc's -mwindows): mingw's start-up calls main whatever the subsystem. A member of its own,
   linked only in place of a WinMain the program lacks (winmain_startup.c names it so), since it
   needs main. */
#include "runtime_internal.h"

#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv, char** environment);

int WINAPI zarn_main_as_winmain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine,
                                int show) {
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    return main(*__p___argc(), *__p___argv(), _get_initial_narrow_environment());
}
