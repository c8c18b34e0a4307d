// Quoting and splitting of command lines.
//
// Input: an argument list, the arguments separated by zero bytes (an empty input is the empty
// list, so "" cannot stand for one empty argument; "\0" is two of them).
//
// Properties: splitting the text that appendArgument builds from the list gives the list back,
// byte for byte, and so does splitting the quoted arguments joined by single blanks; an
// argument without blank, tab or quote is quoted as itself. The input read as one command line
// splits into words whose quoted text splits into the same words again.
#include "fuzz_check.h"
#include "host/command_line.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input = zarn::fuzz::inputText(data, size);
    std::vector<std::string> arguments;
    if (!input.empty())
        arguments = zarn::fuzz::splitAt(input, std::string_view("\0", 1));

    std::string appended;
    std::string joined;
    for (const std::string& argument : arguments) {
        zarn::appendArgument(appended, argument);
        std::string quoted = zarn::quoteArgument(argument);
        if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
            ZARN_FUZZ_CHECK(quoted == argument);
        if (!joined.empty())
            joined += ' ';
        joined += quoted;
    }
    ZARN_FUZZ_CHECK(zarn::splitCommandLine(appended) == arguments);
    ZARN_FUZZ_CHECK(zarn::splitCommandLine(joined) == arguments);

    std::vector<std::string> words = zarn::splitCommandLine(input);
    std::string requoted;
    for (const std::string& word : words)
        zarn::appendArgument(requoted, word);
    ZARN_FUZZ_CHECK(zarn::splitCommandLine(requoted) == words);
    return 0;
}
