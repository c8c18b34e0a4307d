/* Each thread has its own copy of a _Thread_local variable, starting from its initial value. */
#include <stdio.h>
#include <windows.h>

static _Thread_local int counter = 40;

static DWORD WINAPI count(void* unused) {
    (void)unused;
    counter += 2;
    return (DWORD)counter;
}

int main(void) {
    HANDLE thread = CreateThread(NULL, 0, count, NULL, 0, NULL);
    DWORD other = 0;
    if (!thread || WaitForSingleObject(thread, INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeThread(thread, &other))
        return 1;
    counter += 1;
    printf("main %d, other thread %lu\n", counter, (unsigned long)other);
    return 0;
}
