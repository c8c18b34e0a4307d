#include "host/program_arguments.h"

namespace zarn {

ProgramArguments::ProgramArguments(int argc, char** argv) {
    pointers_.assign(argv, argv + argc);
    pointers_.push_back(nullptr);
}

} // namespace zarn
