/* The tables of functions that run before and after the user's code. The compiler puts an
   entry for each C++ global with a constructor in section .CRT$XCU, and a program may add its
   own to .CRT$XI*, .CRT$XC*, .CRT$XP* or .CRT$XT*. The linker sorts these sections by name,
   so the entries of each table land between its "A" and "Z" markers below, in order. Padding
   between the sections is zero, and zero entries are skipped. */
#include "runtime_internal.h"

/* Every module has these tables, and with them the fallbacks for C++'s operator new and delete
   (operator_new.cpp). */
#pragma comment(linker, "/include:zarn_operator_new_fallbacks")

#pragma section(".CRT$XIA", long, read)
#pragma section(".CRT$XIZ", long, read)
#pragma section(".CRT$XCA", long, read)
#pragma section(".CRT$XCZ", long, read)
#pragma section(".CRT$XPA", long, read)
#pragma section(".CRT$XPZ", long, read)
#pragma section(".CRT$XTA", long, read)
#pragma section(".CRT$XTZ", long, read)

__declspec(allocate(".CRT$XIA")) static const _PIFV c_initializers_begin[] = {0};
__declspec(allocate(".CRT$XIZ")) static const _PIFV c_initializers_end[] = {0};
__declspec(allocate(".CRT$XCA")) static const _PVFV constructors_begin[] = {0};
__declspec(allocate(".CRT$XCZ")) static const _PVFV constructors_end[] = {0};
__declspec(allocate(".CRT$XPA")) static const _PVFV pre_terminators_begin[] = {0};
__declspec(allocate(".CRT$XPZ")) static const _PVFV pre_terminators_end[] = {0};
__declspec(allocate(".CRT$XTA")) static const _PVFV terminators_begin[] = {0};
__declspec(allocate(".CRT$XTZ")) static const _PVFV terminators_end[] = {0};

_ACRTIMP int __cdecl _initterm_e(const _PIFV* begin, const _PIFV* end);
_ACRTIMP void __cdecl _initterm(const _PVFV* begin, const _PVFV* end);

int zarn_run_initializers(void) {
    if (_initterm_e(c_initializers_begin, c_initializers_end) != 0)
        return 1;
    _initterm(constructors_begin, constructors_end);
    return 0;
}

void __cdecl zarn_run_terminators(void) {
    _initterm(pre_terminators_begin, pre_terminators_end);
    _initterm(terminators_begin, terminators_end);
}
