/* The entry point of a console program with main. */
#include "runtime_internal.h"

#include <stdlib.h>

int main(int argc, char** argv, char** environment);

int __cdecl mainCRTStartup(void* peb) {
    (void)peb;
    zarn_start_program(_crt_console_app, 0);
    exit(main(*__p___argc(), *__p___argv(), _get_initial_narrow_environment()));
}
