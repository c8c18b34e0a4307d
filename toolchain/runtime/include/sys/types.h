/* Wine's sys/types.h, reduced to what Microsoft's defines: dev_t, ino_t and off_t as types, not
   macros, and no mode_t, pid_t or ssize_t, which portable code defines for itself on Windows
   (often as other types, which Wine's definitions would contradict). */
#ifndef ZARN_RUNTIME_SYS_TYPES_H
#define ZARN_RUNTIME_SYS_TYPES_H

#ifndef _PID_T_DEFINED
#define _PID_T_DEFINED
#define ZARN_RUNTIME_NO_PID_T
#endif
#ifndef _SSIZE_T_DEFINED
#define _SSIZE_T_DEFINED
#define ZARN_RUNTIME_NO_SSIZE_T
#endif

#include_next <sys/types.h>

#ifdef ZARN_RUNTIME_NO_PID_T
#undef _PID_T_DEFINED
#undef ZARN_RUNTIME_NO_PID_T
#endif
#ifdef ZARN_RUNTIME_NO_SSIZE_T
#undef _SSIZE_T_DEFINED
#undef ZARN_RUNTIME_NO_SSIZE_T
#endif
#undef dev_t
#undef ino_t
#undef mode_t
#undef off_t
typedef _dev_t dev_t;
typedef _ino_t ino_t;
typedef _off_t off_t;

#endif
