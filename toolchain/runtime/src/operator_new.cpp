// The global operator new and delete for C++ programs without the C++ standard library. They
// have names of their own, and the linker takes them for the operators only when nothing else
// defines those: a program's own operators win, and so do the C++ library's, which throw
// std::bad_alloc, whenever it is linked. These cannot throw it: when the heap is exhausted and
// no new handler (_set_new_handler) frees memory, the program is ended with a message.
extern "C" {
#include "runtime_internal.h"
}

#include <stdlib.h>

// Calls the handler set with _set_new_handler; zero when there is none or it gave up.
extern "C" _ACRTIMP int __cdecl _callnewh(size_t size);

using size_type = decltype(sizeof 0);

extern "C" {

// Referenced by every module's start-up (crt_sections.c), so that the names below are known to
// the linker whenever the runtime is linked.
extern const int zarn_operator_new_fallbacks = 0;

void* zarn_operator_new(size_type size) {
    if (size == 0)
        size = 1;
    for (;;) {
        if (void* block = malloc(size))
            return block;
        if (_callnewh(size) == 0) {
            zarn_report("operator new: out of memory");
            abort();
        }
    }
}

void zarn_operator_delete(void* block) {
    free(block);
}

void zarn_operator_delete_sized(void* block, size_type) {
    free(block);
}

} // extern "C"

// new, new[], delete, delete[], and the sized forms of delete and delete[].
#pragma comment(linker, "/alternatename:??2@YAPEAX_K@Z=zarn_operator_new")
#pragma comment(linker, "/alternatename:??_U@YAPEAX_K@Z=zarn_operator_new")
#pragma comment(linker, "/alternatename:??3@YAXPEAX@Z=zarn_operator_delete")
#pragma comment(linker, "/alternatename:??_V@YAXPEAX@Z=zarn_operator_delete")
#pragma comment(linker, "/alternatename:??3@YAXPEAX_K@Z=zarn_operator_delete_sized")
#pragma comment(linker, "/alternatename:??_V@YAXPEAX_K@Z=zarn_operator_delete_sized")
