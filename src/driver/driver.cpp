#include "driver/driver.h"

#include "driver/classify.h"
#include "host/program_end.h"

namespace zarn {

int runZarn(int argc, char* const* argv) {
    try {
        if (argc <= 1)
            return 0;
        CompilerArgs compiler;
        LinkerArgs linker;
        classifyArguments(argc, argv, compiler, linker);
        return 0;
    } catch (const ProgramEnd& end) {
        return end.status;
    }
}

} // namespace zarn
