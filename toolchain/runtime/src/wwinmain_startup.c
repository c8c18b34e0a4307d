/* The entry point of a Windows program with wWinMain: as WinMain, in UTF-16. */
#include "runtime_internal.h"
#include "show_command.h"

#include <stdlib.h>

int __cdecl wWinMainCRTStartup(void* peb) {
    (void)peb;
    zarn_start_program(_crt_gui_app, 1);
    exit(wWinMain((HINSTANCE)&__ImageBase, NULL, _get_wide_winmain_command_line(),
                  zarn_show_command()));
}
