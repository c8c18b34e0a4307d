#include "driver/driver.h"

int main(int argc, char** argv) {
    return zarn::runZarn(argc, argv);
}
