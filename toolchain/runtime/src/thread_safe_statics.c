/* A function-local static with a dynamic initializer is set up once, even when several threads
   reach it together. The compiler keeps a guard word for each such variable and calls these
   functions when the guard is newer than this thread's epoch:
     _Init_thread_header: wait until no other thread is initializing it; if nobody has, mark it
       as being initialized by this thread (guard -1), which then runs the initializer;
     _Init_thread_footer: the initializer is done: the guard gets a new epoch;
     _Init_thread_abort: the initializer threw: the next thread to arrive tries again.
   A guard of 0 means not initialized; every epoch is below 0 until the first one ends. */
#include <limits.h>
#include <windows.h>

#pragma comment(lib, "kernel32")

#define BEING_INITIALIZED (-1)

int _Init_global_epoch = INT_MIN;
__declspec(thread) int _Init_thread_epoch = INT_MIN;

static SRWLOCK guard_lock = SRWLOCK_INIT;
static CONDITION_VARIABLE guard_changed = CONDITION_VARIABLE_INIT;

void __cdecl _Init_thread_header(int* guard) {
    AcquireSRWLockExclusive(&guard_lock);
    while (*guard == BEING_INITIALIZED)
        SleepConditionVariableSRW(&guard_changed, &guard_lock, INFINITE, 0);
    if (*guard == 0)
        *guard = BEING_INITIALIZED;
    else
        _Init_thread_epoch = _Init_global_epoch;
    ReleaseSRWLockExclusive(&guard_lock);
}

void __cdecl _Init_thread_footer(int* guard) {
    AcquireSRWLockExclusive(&guard_lock);
    *guard = ++_Init_global_epoch;
    _Init_thread_epoch = _Init_global_epoch;
    ReleaseSRWLockExclusive(&guard_lock);
    WakeAllConditionVariable(&guard_changed);
}

void __cdecl _Init_thread_abort(int* guard) {
    AcquireSRWLockExclusive(&guard_lock);
    *guard = 0;
    ReleaseSRWLockExclusive(&guard_lock);
    WakeAllConditionVariable(&guard_changed);
}
