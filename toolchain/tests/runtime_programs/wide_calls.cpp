// Wide Win32 calls from C++: L"..." is what the W functions take, as with a Windows SDK.
#include <windows.h>

#include <cstdio>

int main() {
    SetEnvironmentVariableW(L"ZARN_WIDE", L"set from C++");
    wchar_t value[64];
    DWORD length = GetEnvironmentVariableW(L"ZARN_WIDE", value, 64);
    std::printf("%lu %ls\n", length, value);
    return lstrcmpW(value, L"set from C++");
}
