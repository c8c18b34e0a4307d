/* The floor for zarn.exe's per-run cost on Windows: a minimal C program that starts the command
   line given after its own name, with its output on the same console, waits for it and returns
   its exit code. Usage: spawn_floor_win32 TOOL [ARGS...] */
#include <stdio.h>
#include <wchar.h>
#include <windows.h>

int main(void) {
    /* The rest of this program's own command line, as it came. */
    wchar_t* line = GetCommandLineW();
    int quoted = 0;
    for (; *line && (quoted || (*line != L' ' && *line != L'\t')); ++line) {
        if (*line == L'"')
            quoted = !quoted;
    }
    while (*line == L' ' || *line == L'\t')
        ++line;
    if (*line == 0)
        return 2;
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessW(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        fprintf(stderr, "CreateProcess failed: %lu\n", GetLastError());
        return 1;
    }
    DWORD status = 1;
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return (int)status;
}
