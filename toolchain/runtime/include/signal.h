/* Wine's signal.h, with the sig_atomic_t that C requires of it. */
#ifndef ZARN_RUNTIME_SIGNAL_H
#define ZARN_RUNTIME_SIGNAL_H

#include_next <signal.h>

#ifndef _SIG_ATOMIC_T_DEFINED
#define _SIG_ATOMIC_T_DEFINED
typedef int sig_atomic_t;
#endif

#endif
