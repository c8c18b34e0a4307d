#include <stdio.h>
#include <wchar.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2 || wcscmp(argv[1], L"wide words") != 0)
        return 1;
    wprintf(L"wmain got [%ls]\n", argv[1]);
    return 4;
}
