/* The few kernel32 functions the program uses, declared here since no Windows SDK is at hand;
   kernel32.def lists them for the import library. */
#ifndef CONSOLE_H
#define CONSOLE_H

#define STD_OUTPUT_HANDLE ((unsigned long)-11)

__declspec(dllimport) void* __stdcall GetStdHandle(unsigned long which);
__declspec(dllimport) int __stdcall WriteFile(void* file, const void* bytes, unsigned long size,
                                              unsigned long* written, void* overlapped);
__declspec(dllimport) __declspec(noreturn) void __stdcall ExitProcess(unsigned int status);

#endif
