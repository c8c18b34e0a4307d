// No try or throw here: the guard's cleanup when an exception passes through comes only from
// the exception tables that gcc mode asks for in every C++ compile.
#include "guard.h"

#include <cstdio>

namespace {

struct Guard {
    int value;
    ~Guard() { std::printf("cleanup after step %d\n", value); }
};

} // namespace

void guarded(void (*step)(int), int value) {
    Guard guard{value};
    step(value);
}
