// The terminate handler that libc++'s exception.cpp asks for (see exception_fixes.h): the one
// the program set with set_terminate in this thread, or else abort(), which ends the program
// with exit status 3.
#include <stdlib.h>

typedef void(__cdecl* terminate_handler)();

extern "C" {

__declspec(dllimport) terminate_handler __cdecl _get_terminate();

terminate_handler __cdecl zarn_get_terminate() {
    terminate_handler handler = _get_terminate();
    return handler != nullptr ? handler : abort;
}

// exception.cpp declares the function imported from a DLL, as _get_terminate is: its calls go
// through this slot.
terminate_handler(__cdecl* const __imp_zarn_get_terminate)() = zarn_get_terminate;
}
