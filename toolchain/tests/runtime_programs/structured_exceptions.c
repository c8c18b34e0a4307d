/* __try, __except and __finally as a Windows SDK's headers offer them. */
#include <windows.h>
#include <stdio.h>

__declspec(noinline) static void write_null(void) {
    volatile int* volatile nowhere = NULL;
    *nowhere = 1;
}

__declspec(noinline) static void guarded(void) {
    __try {
        write_null();
    } __finally {
        printf("finally, abnormal %d\n", AbnormalTermination());
    }
}

int main(void) {
    __try {
        guarded();
    } __except (GetExceptionCode() == EXCEPTION_ACCESS_VIOLATION ? EXCEPTION_EXECUTE_HANDLER
                                                                  : EXCEPTION_CONTINUE_SEARCH) {
        printf("caught 0x%08lX\n", GetExceptionCode());
    }
    return 0;
}
