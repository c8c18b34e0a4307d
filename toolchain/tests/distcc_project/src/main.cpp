// Built with -Wall -Werror: the standard library's headers must give no warnings, from the
// source as from its preprocessed text compiled elsewhere.
#include "guard.h"
#include "tally.h"

#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

void step(int value) {
    if (value < 0)
        throw std::invalid_argument("negative step " + std::to_string(value));
    std::cout << "step " << value << std::endl;
}

} // namespace

int main() {
    std::vector<int> values{1, -2};
    for (int value : values) {
        try {
            guarded(step, value);
        } catch (const std::exception& error) {
            std::cout << "caught: " << error.what() << std::endl;
        }
    }
    std::cout << "high characters: " << tally_high("caf\xc3\xa9") << std::endl;
    return 0;
}
