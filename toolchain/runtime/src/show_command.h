/* How a WinMain program is asked to show its first window. */
#ifndef ZARN_SHOW_COMMAND_H
#define ZARN_SHOW_COMMAND_H

#include <windows.h>

static inline int zarn_show_command(void) {
    STARTUPINFOW startup;
    GetStartupInfoW(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

/* The linker places this at the start of the image: its address is the module's handle. */
extern IMAGE_DOS_HEADER __ImageBase;

#endif
