// The C++ standard library, one part for each argument; each prints what it found.
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

// Outside the anonymous namespace, whose name Wine's ucrtbase.dll cannot undecorate.
struct Base {
    virtual ~Base() = default;
};
struct Derived : Base {};

namespace {

void containers() {
    std::vector<int> numbers{5, 3, 9};
    numbers.push_back(1);
    std::map<std::string, int> counts;
    for (int number : numbers)
        counts[std::to_string(number)] += number;
    std::string text(40, '-');
    text.replace(0, 5, "long ");
    std::cout << counts.size() << ' ' << counts.begin()->first << ' ' << text.substr(0, 7) << '\n';
}

void streams() {
    std::ostringstream out;
    out << std::hex << 255 << ' ' << std::dec << 2.5;
    std::istringstream in("17 words");
    int number = 0;
    std::string word;
    in >> number >> word;
    std::cout << out.str() << ' ' << number + 1 << ' ' << word << std::endl;
}

void files() {
    { std::ofstream("round trip.txt") << "line one\n" << 2 << '\n'; }
    std::ifstream in("round trip.txt");
    std::string first, second;
    std::getline(in, first);
    std::getline(in, second);
    std::cout << first << ", " << second << '\n';
}

void exceptions() {
    try {
        throw std::runtime_error("thrown as runtime_error");
    } catch (const std::exception& error) {
        std::cout << "caught " << error.what() << '\n';
    }
}

void out_of_memory() {
    try {
        std::vector<char> huge(std::size_t(1) << 62);
        std::cout << "allocated " << huge.size() << '\n';
    } catch (const std::bad_alloc&) {
        std::cout << "bad_alloc\n";
    }
}

void threads() {
    std::mutex lock;
    long total = 0;
    std::vector<std::thread> workers;
    for (int worker = 0; worker < 4; ++worker)
        workers.emplace_back([&] {
            for (int step = 0; step < 10000; ++step) {
                std::lock_guard<std::mutex> guard(lock);
                ++total;
            }
        });
    for (std::thread& worker : workers)
        worker.join();
    std::cout << total << '\n';
}

void exception_pointers() {
    std::exception_ptr stored;
    try {
        throw std::out_of_range("stored");
    } catch (...) {
        stored = std::current_exception();
    }
    try {
        std::rethrow_exception(stored);
    } catch (const std::out_of_range& error) {
        std::cout << "rethrown " << error.what() << '\n';
    }
}

void filesystem() {
    namespace fs = std::filesystem;
    fs::create_directories("tree/sub");
    std::ofstream("tree/sub/a.txt") << "12345";
    int entries = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator("tree"))
        entries += entry.exists();
    std::cout << entries << ' ' << fs::file_size("tree/sub/a.txt") << ' ';
    fs::remove_all("tree");
    std::cout << fs::exists("tree") << '\n';
}

void type_names() {
    Derived derived;
    const Base& base = derived;
    std::cout << typeid(base).name() << ", " << typeid(int).name() << '\n';
}

} // namespace

int main(int argc, char** argv) {
    const std::pair<const char*, void (*)()> parts[] = {
        {"containers", containers},
        {"streams", streams},
        {"files", files},
        {"exceptions", exceptions},
        {"bad_alloc", out_of_memory},
        {"threads", threads},
        {"exception_ptr", exception_pointers},
        {"filesystem", filesystem},
        {"typeid", type_names},
    };
    for (const auto& part : parts)
        if (argc > 1 && std::strcmp(argv[1], part.first) == 0)
            part.second();
    return 0;
}
