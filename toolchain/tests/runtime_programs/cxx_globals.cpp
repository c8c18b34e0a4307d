// C++ without the standard library: globals built in order and destroyed in reverse after
// main, a local static built once, new and delete, and an exception caught in the program.
#include <stdio.h>

struct Noisy {
    const char* name;
    explicit Noisy(const char* name) : name(name) { printf("construct %s\n", name); }
    ~Noisy() { printf("destroy %s\n", name); }
};

Noisy first("first");
Noisy second("second");

static int calls() {
    static Noisy local("local");
    static int count = 0;
    return ++count;
}

struct Failure {
    int code;
};

int main() {
    calls();
    int* numbers = new int[4]{1, 2, 3, 4};
    Noisy* heap = new Noisy("heap");
    delete heap;
    try {
        throw Failure{numbers[3] + calls()};
    } catch (const Failure& failure) {
        printf("caught %d\n", failure.code);
    }
    delete[] numbers;
    printf("main ends\n");
    return 0;
}
