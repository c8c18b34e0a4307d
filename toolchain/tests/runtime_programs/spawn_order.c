/* A child started by a _spawn function writes after what the program wrote before starting it,
   to the same standard output: the narrow list form and the wide array form. */
#include <process.h>
#include <stdio.h>
#include <windows.h>

int main(int argc, char** argv) {
    if (argc > 1) {
        printf("child %s\n", argv[1]);
        return 3;
    }
    printf("first\n");
    intptr_t one = _spawnl(_P_WAIT, argv[0], argv[0], "one", NULL);
    printf("then\n");
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(NULL, self, MAX_PATH);
    const wchar_t* arguments[] = {L"self", L"two", NULL};
    intptr_t two = _wspawnv(_P_WAIT, self, arguments);
    printf("last %d %d\n", (int)one, (int)two);
    return 0;
}
