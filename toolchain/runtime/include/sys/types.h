/* Wine's sys/types.h, reduced to what Microsoft's defines: dev_t, ino_t and off_t as types, not
   macros, and no mode_t, pid_t or ssize_t, which portable code defines for itself on Windows
   (often as other types, which Wine's definitions would contradict). In gcc mode (__ZARN_GCC__)
   mode_t, pid_t and ssize_t are there, as a mingw-hosted project expects; a program's own
   definition of one as a macro (configure's "#define mode_t int" where it found none) is kept
   in both modes. */
#ifndef ZARN_RUNTIME_SYS_TYPES_H
#define ZARN_RUNTIME_SYS_TYPES_H

#if !defined(_PID_T_DEFINED) && (!defined(__ZARN_GCC__) || defined(pid_t))
#define _PID_T_DEFINED
#define ZARN_RUNTIME_NO_PID_T
#endif
#if !defined(_SSIZE_T_DEFINED) && (!defined(__ZARN_GCC__) || defined(ssize_t))
#define _SSIZE_T_DEFINED
#define ZARN_RUNTIME_NO_SSIZE_T
#endif
#pragma push_macro("mode_t")
#undef mode_t

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
#pragma pop_macro("mode_t")
typedef _dev_t dev_t;
typedef _ino_t ino_t;
typedef _off_t off_t;
#if defined(__ZARN_GCC__) && !defined(mode_t)
typedef _mode_t mode_t;
#endif

#endif
