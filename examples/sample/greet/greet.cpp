// The DLL's message is settled at compile time; the C runtime's DLL entry point starts the DLL.
#include "greet.h"

namespace {

class Greeting {
  public:
    template <int N>
    constexpr explicit Greeting(const char (&text)[N]) : text_(text), length_(N - 1) {}
    constexpr const char* text() const { return text_; }
    constexpr int length() const { return length_; }

  private:
    const char* text_;
    int length_;
};

constexpr Greeting greeting("Hello from greet.dll");
static_assert(greeting.length() == 20, "the greeting's length is counted at compile time");

} // namespace

extern "C" const char* greet_message(void) {
    return greeting.text();
}

extern "C" int greet_length(void) {
    return greeting.length();
}
