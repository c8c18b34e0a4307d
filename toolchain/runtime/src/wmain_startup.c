/* The entry point of a console program with wmain: arguments and environment in UTF-16. */
#include "runtime_internal.h"

#include <stdlib.h>

int wmain(int argc, wchar_t** argv, wchar_t** environment);

int __cdecl wmainCRTStartup(void* peb) {
    (void)peb;
    zarn_start_program(_crt_console_app, 1);
    exit(wmain(*__p___argc(), *__p___wargv(), _get_initial_wide_environment()));
}
