#include "host/program_end.h"

namespace zarn {

void endProgram(int status) {
    throw ProgramEnd{status};
}

} // namespace zarn
