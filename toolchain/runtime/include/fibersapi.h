/* The fiber-local storage functions, which Wine declares in winbase.h. */
#ifndef ZARN_RUNTIME_FIBERSAPI_H
#define ZARN_RUNTIME_FIBERSAPI_H

#include <windows.h>

#endif
