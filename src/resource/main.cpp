#include "host/process.h"
#include "host/program_arguments.h"
#include "resource/windres.h"

int main(int argc, char** argv) {
    zarn::ProgramArguments arguments(argc, argv);
    int status = zarn::runWindres(arguments.count(), arguments.vector());
    zarn::finishAsStopped();
    return status;
}
