/* atexit and _onexit. A program hands its handlers to the C runtime DLL, which runs them in
   exit; a DLL keeps them in a table of its own (see zarn_use_module_exit_table). The compiler
   registers the destructor of each C++ global through atexit as well. */
#include "runtime_internal.h"

static _onexit_table_t module_exit_table;
static int uses_module_exit_table;

int zarn_use_module_exit_table(void) {
    uses_module_exit_table = 1;
    return _initialize_onexit_table(&module_exit_table);
}

void zarn_run_module_exit_table(void) {
    _execute_onexit_table(&module_exit_table);
}

int __cdecl atexit(_PVFV handler) {
    if (uses_module_exit_table)
        return _register_onexit_function(&module_exit_table, (_onexit_t)handler);
    return _crt_atexit(handler);
}

_onexit_t __cdecl _onexit(_onexit_t handler) {
    return atexit((_PVFV)handler) == 0 ? handler : 0;
}

/* Wine's stdlib.h declares both as imports from the C runtime DLL, which exports neither:
   calls through their import slots come here. */
int(__cdecl* const __imp_atexit)(_PVFV) = atexit;
_onexit_t(__cdecl* const __imp__onexit)(_onexit_t) = _onexit;
