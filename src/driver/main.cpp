#include "driver/driver.h"
#include "host/program_arguments.h"

int main(int argc, char** argv) {
    zarn::ProgramArguments arguments(argc, argv);
    return zarn::runZarn(arguments.count(), arguments.vector());
}
