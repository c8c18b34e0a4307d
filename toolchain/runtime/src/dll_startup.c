/* The entry point of a DLL. The module's runtime is set up before the user's DllMain sees
   DLL_PROCESS_ATTACH and taken down after it has seen DLL_PROCESS_DETACH: atexit handlers and
   C++ destructors first, the last registered first, then the terminators. A DLL without a
   DllMain of its own gets one that accepts every call. */
#include "runtime_internal.h"

#include <windows.h>

/* The user's, or the default below. */
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

BOOL WINAPI zarn_default_dll_main(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

/* The linker takes zarn_default_dll_main for DllMain only when no object defines DllMain. */
#pragma comment(linker, "/alternatename:DllMain=zarn_default_dll_main")

static int running;

static void stop_library(void) {
    running = 0;
    zarn_run_module_exit_table();
    zarn_run_terminators();
}

static BOOL start_library(HINSTANCE instance, LPVOID reserved) {
    __security_init_cookie();
    if (zarn_use_module_exit_table() != 0) {
        zarn_report("cannot set up the exit table of a DLL");
        return FALSE;
    }
    running = 1;
    if (zarn_run_initializers() != 0) {
        zarn_report("an initializer of a DLL failed");
        stop_library();
        return FALSE;
    }
    /* A DllMain that refuses to attach is not called again to detach. */
    if (!DllMain(instance, DLL_PROCESS_ATTACH, reserved)) {
        stop_library();
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI _DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        return start_library(instance, reserved);
    case DLL_PROCESS_DETACH:
        if (running) {
            BOOL result = DllMain(instance, reason, reserved);
            stop_library();
            return result;
        }
        return TRUE;
    default:
        return DllMain(instance, reason, reserved);
    }
}
