#include "host/win32/console_control.h"

#include "host/process.h"

#include <cstdio>
#include <windows.h>

namespace zarn {

namespace {

// Whether an interrupt came while zarn waited; it stays, since a run that was interrupted ends
// once its tool is gone.
volatile LONG interrupted = 0;

BOOL WINAPI noteInterrupt(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    InterlockedExchange(&interrupted, 1);
    return TRUE;
}

} // namespace

ConsoleControlNoted::ConsoleControlNoted() {
    SetConsoleCtrlHandler(noteInterrupt, TRUE);
}

ConsoleControlNoted::~ConsoleControlNoted() {
    SetConsoleCtrlHandler(noteInterrupt, FALSE);
}

bool ConsoleControlNoted::received() const {
    return InterlockedCompareExchange(&interrupted, 0, 0) != 0;
}

void endAsInterrupted() {
    std::fflush(nullptr);
    ExitProcess(STATUS_CONTROL_C_EXIT);
}

void finishAsStopped() {
    if (InterlockedCompareExchange(&interrupted, 0, 0) != 0)
        endAsInterrupted();
}

} // namespace zarn
