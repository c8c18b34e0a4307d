// A DLL that gives the program a std::string and throws into it.
#include <stdexcept>
#include <string>

__declspec(dllexport) std::string greeting(const std::string& name) {
    return "hello, " + name + std::string(20, '!');
}

__declspec(dllexport) void refuse(int code) {
    throw std::runtime_error("refused " + std::to_string(code));
}
