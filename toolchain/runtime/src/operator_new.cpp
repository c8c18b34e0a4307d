// The global operator new and delete, which a C++ program needs even without the standard
// library. There is no std::bad_alloc to throw: when the heap is exhausted and no new handler
// (_set_new_handler) frees memory, the program is ended with a message.
extern "C" {
#include "runtime_internal.h"
}

#include <stdlib.h>

// Calls the handler set with _set_new_handler; zero when there is none or it gave up.
extern "C" _ACRTIMP int __cdecl _callnewh(size_t size);

using size_type = decltype(sizeof 0);

void* operator new(size_type size) {
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

void* operator new[](size_type size) {
    return operator new(size);
}

void operator delete(void* block) noexcept {
    free(block);
}

void operator delete[](void* block) noexcept {
    free(block);
}

void operator delete(void* block, size_type) noexcept {
    free(block);
}

void operator delete[](void* block, size_type) noexcept {
    free(block);
}
