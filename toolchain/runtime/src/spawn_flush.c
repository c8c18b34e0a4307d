/* The _spawn functions, which start a program while this one goes on or waits: each flushes
   this program's streams first, then calls the C runtime DLL's own. A child that writes to the
   same file (pcre2grep's callout scripts, writing to its standard output) then writes after
   what the program wrote before starting it, as a POSIX program that flushes before it forks
   has it; Wine's DLL starts the child with the output still in the program's buffers. Calls
   through the import slots (Wine's process.h declares them imported) come here too. */
#include "runtime_internal.h"

#include <errno.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

/* The DLL's function of the name; the process has loaded the DLL, as every program imports
   from it. */
static FARPROC dll_function(const char* name) {
    HMODULE dll = GetModuleHandleW(L"ucrtbase.dll");
    FARPROC function = dll ? GetProcAddress(dll, name) : NULL;
    if (function == NULL)
        abort();
    return function;
}

/* The "v" forms: the arguments as an array, an environment with "e", a search along PATH with
   "p"; the "l" forms take the arguments as a list ending with a null pointer, followed by the
   environment with "e", and pass them on as an array. */
#define SPAWN_FUNCTIONS(CHAR, V, VE, VP, VPE, L, LE, LP, LPE)                                      \
    typedef intptr_t(__cdecl* V##_type)(int, const CHAR*, const CHAR* const*);                     \
    typedef intptr_t(__cdecl* VE##_type)(int, const CHAR*, const CHAR* const*,                     \
                                         const CHAR* const*);                                      \
                                                                                                   \
    intptr_t __cdecl V(int mode, const CHAR* name, const CHAR* const* arguments) {                 \
        _flushall();                                                                               \
        return ((V##_type)dll_function(#V))(mode, name, arguments);                                \
    }                                                                                              \
    intptr_t __cdecl VP(int mode, const CHAR* name, const CHAR* const* arguments) {                \
        _flushall();                                                                               \
        return ((V##_type)dll_function(#VP))(mode, name, arguments);                               \
    }                                                                                              \
    intptr_t __cdecl VE(int mode, const CHAR* name, const CHAR* const* arguments,                  \
                        const CHAR* const* environment) {                                          \
        _flushall();                                                                               \
        return ((VE##_type)dll_function(#VE))(mode, name, arguments, environment);                 \
    }                                                                                              \
    intptr_t __cdecl VPE(int mode, const CHAR* name, const CHAR* const* arguments,                 \
                         const CHAR* const* environment) {                                         \
        _flushall();                                                                               \
        return ((VE##_type)dll_function(#VPE))(mode, name, arguments, environment);                \
    }                                                                                              \
                                                                                                   \
    /* Passes the list after "first" on as an array, and the environment after its null            \
       pointer when "with_environment". */                                                         \
    static intptr_t L##_list(int mode, const CHAR* name, const CHAR* first, va_list list,          \
                             int with_environment, int search) {                                   \
        va_list counting;                                                                          \
        va_copy(counting, list);                                                                   \
        size_t count = 1;                                                                          \
        for (const CHAR* argument = first; argument != NULL;                                       \
             argument = va_arg(counting, const CHAR*))                                             \
            ++count;                                                                               \
        va_end(counting);                                                                          \
        const CHAR** arguments = malloc(count * sizeof *arguments);                                \
        if (arguments == NULL) {                                                                   \
            errno = ENOMEM;                                                                        \
            return -1;                                                                             \
        }                                                                                          \
        size_t index = 0;                                                                          \
        for (const CHAR* argument = first; argument != NULL; argument = va_arg(list, const CHAR*)) \
            arguments[index++] = argument;                                                         \
        arguments[index] = NULL;                                                                   \
        intptr_t result;                                                                           \
        if (with_environment) {                                                                    \
            const CHAR* const* environment = va_arg(list, const CHAR* const*);                     \
            result = (search ? VPE : VE)(mode, name, arguments, environment);                      \
        } else {                                                                                   \
            result = (search ? VP : V)(mode, name, arguments);                                     \
        }                                                                                          \
        free((void*)arguments);                                                                    \
        return result;                                                                             \
    }                                                                                              \
    intptr_t __cdecl L(int mode, const CHAR* name, const CHAR* first, ...) {                       \
        va_list list;                                                                              \
        va_start(list, first);                                                                     \
        intptr_t result = L##_list(mode, name, first, list, 0, 0);                                 \
        va_end(list);                                                                              \
        return result;                                                                             \
    }                                                                                              \
    intptr_t __cdecl LP(int mode, const CHAR* name, const CHAR* first, ...) {                      \
        va_list list;                                                                              \
        va_start(list, first);                                                                     \
        intptr_t result = L##_list(mode, name, first, list, 0, 1);                                 \
        va_end(list);                                                                              \
        return result;                                                                             \
    }                                                                                              \
    intptr_t __cdecl LE(int mode, const CHAR* name, const CHAR* first, ...) {                      \
        va_list list;                                                                              \
        va_start(list, first);                                                                     \
        intptr_t result = L##_list(mode, name, first, list, 1, 0);                                 \
        va_end(list);                                                                              \
        return result;                                                                             \
    }                                                                                              \
    intptr_t __cdecl LPE(int mode, const CHAR* name, const CHAR* first, ...) {                     \
        va_list list;                                                                              \
        va_start(list, first);                                                                     \
        intptr_t result = L##_list(mode, name, first, list, 1, 1);                                 \
        va_end(list);                                                                              \
        return result;                                                                             \
    }                                                                                              \
    void* const __imp_##V = (void*)V;                                                              \
    void* const __imp_##VE = (void*)VE;                                                            \
    void* const __imp_##VP = (void*)VP;                                                            \
    void* const __imp_##VPE = (void*)VPE;                                                          \
    void* const __imp_##L = (void*)L;                                                              \
    void* const __imp_##LE = (void*)LE;                                                            \
    void* const __imp_##LP = (void*)LP;                                                            \
    void* const __imp_##LPE = (void*)LPE;

SPAWN_FUNCTIONS(char, _spawnv, _spawnve, _spawnvp, _spawnvpe, _spawnl, _spawnle, _spawnlp,
                _spawnlpe)
SPAWN_FUNCTIONS(wchar_t, _wspawnv, _wspawnve, _wspawnvp, _wspawnvpe, _wspawnl, _wspawnle, _wspawnlp,
                _wspawnlpe)
