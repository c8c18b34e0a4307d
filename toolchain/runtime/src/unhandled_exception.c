/* What a program does with an exception that nothing handles, as the Microsoft runtime does it,
   for every thread of the program:
   - a C++ exception calls terminate(), which runs the handler given to set_terminate and by
     default aborts (exit status 3);
   - an access violation, a floating-point or an illegal-instruction exception goes to the
     handler given to signal() for SIGSEGV, SIGFPE or SIGILL, which ucrtbase.dll's filter calls;
   - any other exception, or one whose signal has no handler, ends the program with the
     exception code as its exit status (0xC0000005 for an access violation).
   Without this filter Wine would start its debugger, and the status would vary from run to
   run, 0 included. */
#include "runtime_internal.h"

#include <windows.h>

/* The filter that ucrtbase.dll's start-up code puts around main: it hands the exceptions that
   have a signal to the handler set with signal(), and says to go on searching otherwise. */
_ACRTIMP int __cdecl _seh_filter_exe(unsigned long code, EXCEPTION_POINTERS* information);
_ACRTIMP void __cdecl terminate(void);

#define CXX_EXCEPTION_CODE 0xE06D7363u

/* Whether the record is a C++ throw, by the exception code and the magic numbers the
   compilers' throw writes as the first parameter. */
static int is_cxx_exception(const EXCEPTION_RECORD* record) {
    if (record->ExceptionCode != CXX_EXCEPTION_CODE || record->NumberParameters < 3)
        return 0;
    ULONG_PTR magic = record->ExceptionInformation[0];
    return magic == 0x19930520 || magic == 0x19930521 || magic == 0x19930522 ||
           magic == 0x01994000;
}

/* What was installed before ours: the program's own filter comes later, through
   SetUnhandledExceptionFilter, and replaces this one. */
static LPTOP_LEVEL_EXCEPTION_FILTER previous_filter;

static LONG WINAPI end_unhandled_exception(EXCEPTION_POINTERS* information) {
    if (is_cxx_exception(information->ExceptionRecord))
        terminate();
    LONG action = _seh_filter_exe(information->ExceptionRecord->ExceptionCode, information);
    if (action != EXCEPTION_CONTINUE_SEARCH)
        return action;
    if (previous_filter != NULL)
        return previous_filter(information);
    /* The system then ends the process with the exception code as its status. */
    return EXCEPTION_EXECUTE_HANDLER;
}

void zarn_report_unhandled_exceptions(void) {
    previous_filter = SetUnhandledExceptionFilter(end_unhandled_exception);
}
