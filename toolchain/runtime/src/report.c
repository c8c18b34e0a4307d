#include "runtime_internal.h"

#include <windows.h>

void zarn_report(const char* what) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == NULL || error == INVALID_HANDLE_VALUE)
        return;
    static const char prefix[] = "zarn runtime: ";
    DWORD written;
    WriteFile(error, prefix, sizeof prefix - 1, &written, NULL);
    WriteFile(error, what, lstrlenA(what), &written, NULL);
    WriteFile(error, "\r\n", 2, &written, NULL);
}
