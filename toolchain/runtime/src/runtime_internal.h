/* What the pieces of zarn's C runtime share. Programs never include this. */
#ifndef ZARN_RUNTIME_INTERNAL_H
#define ZARN_RUNTIME_INTERNAL_H

#include <corecrt_startup.h>

/* Each piece names the DLLs it imports from, so that a program linked with any of the
   runtime's libraries needs no -l options for them. */
#pragma comment(lib, "ucrtbase")
#pragma comment(lib, "kernel32")

void __cdecl __security_init_cookie(void);

/* Runs the module's C initializers (.CRT$XI*), then its C++ constructors (.CRT$XC*); nonzero
   when a C initializer failed. */
int zarn_run_initializers(void);

/* Runs the module's pre-terminators (.CRT$XP*), then its terminators (.CRT$XT*). */
void __cdecl zarn_run_terminators(void);

/* Prepares a program before its main, wmain, WinMain or wWinMain: the stack cookie, the
   application type, the arguments and environment in the chosen width, then the module's
   initializers. Ends the process with status 255 if any of it fails. */
void zarn_start_program(_crt_app_type type, int wide);

/* Has every exception that nothing handles end the program as the Microsoft runtime ends it:
   a C++ exception through terminate(), the others through their signal's handler or with the
   exception code as the exit status. */
void zarn_report_unhandled_exceptions(void);

/* Writes "zarn runtime: <what>" and a line end to standard error without the C runtime's
   streams, which may not be usable when this is called. */
void zarn_report(const char* what);

/* From now on atexit keeps its handlers in this module's own table: a DLL's handlers and C++
   destructors must run when the DLL is unloaded, while its code is still mapped. Nonzero if
   the table cannot be set up. */
int zarn_use_module_exit_table(void);

/* Runs the handlers of the module's own table, the last registered first. */
void zarn_run_module_exit_table(void);

#endif
