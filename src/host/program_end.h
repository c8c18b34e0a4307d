// How zarn ends early. The code that detects a failure prints its message and calls endProgram;
// the exception carries the exit status straight to the entry point, which returns it. Nothing
// in between catches it, so the effect is that of exit(), yet every rule stays callable from a
// test or a fuzzer.
#pragma once

namespace zarn {

struct ProgramEnd {
    int status;
};

[[noreturn]] void endProgram(int status);

} // namespace zarn
