/* Forced into libc++'s filesystem sources. Wine's winbase.h declares the member DeleteFile of
   FILE_DISPOSITION_INFO after defining the macro DeleteFile, so libc++'s use of the member would
   be renamed; min and max would be macros too; and a flag of newer SDKs is missing. */
#define NOMINMAX
#include <windows.h>
#undef DeleteFile
#ifndef SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
#define SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE 0x2
#endif
