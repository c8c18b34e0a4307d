#include <iostream>
#include <stdexcept>
#include <string>

__declspec(dllimport) std::string greeting(const std::string& name);
__declspec(dllimport) void refuse(int code);

int main() {
    std::cout << greeting("exe").size() << '\n';
    try {
        refuse(7);
    } catch (const std::exception& error) {
        std::cout << "caught " << error.what() << '\n';
    }
    return 0;
}
