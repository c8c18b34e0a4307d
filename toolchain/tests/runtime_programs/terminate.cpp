// An exception that nothing catches ends the program through terminate(): with the handler of
// set_terminate when the argument is "handler", else by default (abort, exit status 3).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "handler") == 0)
        std::set_terminate([] {
            std::puts("terminate handler");
            std::fflush(stdout);
            std::_Exit(7);
        });
    if (argc > 1 && std::strcmp(argv[1], "direct") == 0)
        std::terminate();
    throw std::logic_error("nobody catches this");
}
