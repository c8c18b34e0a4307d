#include "driver/driver.h"
#include "host/process.h"
#include "host/program_arguments.h"

int main(int argc, char** argv) {
    zarn::ProgramArguments arguments(argc, argv);
    int status = zarn::runZarn(arguments.count(), arguments.vector());
    zarn::finishAsStopped();
    return status;
}
