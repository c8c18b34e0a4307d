/* The entry point of a Windows program with WinMain: its command line without the program
   name, and its status returned from WinMain. */
#include "runtime_internal.h"
#include "show_command.h"

#include <stdlib.h>

/* A program with main and no WinMain starts with main, as mingw's start-up has it. */
#pragma comment(linker, "/alternatename:WinMain=zarn_main_as_winmain")

int __cdecl WinMainCRTStartup(void* peb) {
    (void)peb;
    zarn_start_program(_crt_gui_app, 0);
    exit(WinMain((HINSTANCE)&__ImageBase, NULL, _get_narrow_winmain_command_line(),
                 zarn_show_command()));
}
