/* The stack cookie that /GS code places below its local arrays and checks before it returns.
   Each module has its own, made unpredictable at start-up. */
#include "runtime_internal.h"

#include <windows.h>

#define DEFAULT_COOKIE 0x00002B992DDFA232ull

UINT_PTR __security_cookie = DEFAULT_COOKIE;
UINT_PTR __security_cookie_complement = ~DEFAULT_COOKIE;

void __cdecl __security_init_cookie(void) {
    if (__security_cookie != DEFAULT_COOKIE)
        return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    UINT_PTR cookie = ((UINT_PTR)now.dwHighDateTime << 32) ^ now.dwLowDateTime;
    cookie ^= (UINT_PTR)GetCurrentProcessId() << 32 ^ GetCurrentThreadId();
    cookie ^= (UINT_PTR)counter.QuadPart << 32 ^ (UINT_PTR)counter.QuadPart;
    cookie ^= (UINT_PTR)&cookie;
    /* The top bytes stay zero, so that a string overrun cannot write the cookie back. */
    cookie &= 0x0000FFFFFFFFFFFFull;
    if (cookie == DEFAULT_COOKIE || cookie == 0)
        cookie = DEFAULT_COOKIE ^ 0x4711;
    __security_cookie = cookie;
    __security_cookie_complement = ~cookie;
}

/* Ends the process at once: after an overrun the stack cannot be trusted, so no exit handler
   runs. The status is the one Windows reports for it. */
__declspec(noreturn) void __cdecl __report_gsfailure(UINT_PTR cookie) {
    (void)cookie;
    zarn_report("stack buffer overrun detected (/GS); the program is ended");
    TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    for (;;)
        ;
}

/* Called with the cookie as found on the stack (rcx). Written in assembly so that the usual
   path changes no register but the flags: the compiler calls it where the function's return
   value is already in rax. */
__asm__(".text\n"
        ".globl __security_check_cookie\n"
        ".p2align 4\n"
        "__security_check_cookie:\n"
        "    cmpq __security_cookie(%rip), %rcx\n"
        "    jne 1f\n"
        "    ret\n"
        "1:  subq $40, %rsp\n"
        "    call __report_gsfailure\n");
