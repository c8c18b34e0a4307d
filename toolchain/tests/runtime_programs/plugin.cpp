// A DLL with a C++ global, a DllMain and printf. Each line is flushed, since the process may
// end before the C runtime flushes its streams.
#include <stdio.h>
#include <windows.h>

namespace {

void say(const char* text) {
    printf("%s\n", text);
    fflush(stdout);
}

struct Global {
    Global() { say("plugin global constructed"); }
    ~Global() { say("plugin global destroyed"); }
} global;

} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        say("plugin attached");
    if (reason == DLL_PROCESS_DETACH)
        say("plugin detached");
    return TRUE;
}

extern "C" __declspec(dllexport) int plugin_twice(int value) {
    printf("plugin_twice(%d)\n", value);
    fflush(stdout);
    return 2 * value;
}
