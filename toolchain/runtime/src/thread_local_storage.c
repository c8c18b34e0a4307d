/* The image's thread-local storage directory, which the loader reads to give each thread its
   copy of the __declspec(thread) and _Thread_local variables. The compiler puts their initial
   values in sections .tls$*, which the linker sorts between the two markers below, and reads
   the module's slot number from _tls_index. The linker points the image's TLS entry at
   _tls_used. */
#include <windows.h>

ULONG _tls_index = 0;

#pragma section(".tls", read, write)
#pragma section(".tls$ZZZ", read, write)
__declspec(allocate(".tls")) char _tls_start = 0;
__declspec(allocate(".tls$ZZZ")) char _tls_end = 0;

/* The callbacks the loader calls as threads start and end: none of the runtime's own, only what
   a program adds to .CRT$XLB ... .CRT$XLY. The list ends at the first null entry. */
#pragma section(".CRT$XLA", long, read)
#pragma section(".CRT$XLZ", long, read)
__declspec(allocate(".CRT$XLA")) const PIMAGE_TLS_CALLBACK tls_callbacks_begin = 0;
__declspec(allocate(".CRT$XLZ")) const PIMAGE_TLS_CALLBACK tls_callbacks_end = 0;

const IMAGE_TLS_DIRECTORY64 _tls_used = {
    (ULONGLONG)&_tls_start,
    (ULONGLONG)&_tls_end,
    (ULONGLONG)&_tls_index,
    (ULONGLONG)(&tls_callbacks_begin + 1),
    0,
    0,
};
