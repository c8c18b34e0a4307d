#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

int main() {
    std::vector<std::string> words{"hello", "from", "C++"};
    std::string line;
    for (const std::string& word : words)
        line += (line.empty() ? "" : " ") + word;
    std::cout << line << std::endl;
    try {
        throw std::runtime_error("and an exception, caught");
    } catch (const std::exception& error) {
        std::cout << error.what() << std::endl;
    }
    return 0;
}
