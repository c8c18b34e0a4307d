/* The greet DLL: a C interface to a message kept by C++ code. */
#ifndef GREET_H
#define GREET_H

#ifdef GREET_BUILD
#define GREET_API __declspec(dllexport)
#else
#define GREET_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The greeting, not terminated; greet_length() tells its length. */
GREET_API const char* greet_message(void);
GREET_API int greet_length(void);

#ifdef __cplusplus
}
#endif

#endif
