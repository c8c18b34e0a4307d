/* What every program runs before its main function, whichever kind it is. */
#include "runtime_internal.h"

#include <stdlib.h>

void zarn_start_program(_crt_app_type type, int wide) {
    __security_init_cookie();
    zarn_report_unhandled_exceptions();
    _set_app_type(type);
    int failed = wide ? _configure_wide_argv(_crt_argv_unexpanded_arguments) ||
                            _initialize_wide_environment()
                      : _configure_narrow_argv(_crt_argv_unexpanded_arguments) ||
                            _initialize_narrow_environment();
    if (failed) {
        zarn_report("cannot set up the arguments and environment of the program");
        _exit(255);
    }
    /* Registered before anything else, so they run after every atexit handler and C++
       destructor. */
    if (_crt_atexit(zarn_run_terminators) != 0) {
        zarn_report("cannot register the program's terminators");
        _exit(255);
    }
    if (zarn_run_initializers() != 0) {
        zarn_report("an initializer of the program failed");
        _exit(255);
    }
}
