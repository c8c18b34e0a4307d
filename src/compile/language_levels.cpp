#include "compile/language_levels.h"

namespace zarn {

namespace {

struct Level {
    std::string_view gcc;
    LanguageLevel level;
};

// cl.exe knows C11 and C17 and no C99: C99 code compiles as C11. Its C default is C89 with
// extensions, its C++ default C++14, which older C++ levels get by name.
constexpr Level levels[] = {
    {"c89", {false, ""}},
    {"c90", {false, ""}},
    {"gnu89", {false, ""}},
    {"gnu90", {false, ""}},
    {"iso9899:1990", {false, ""}},
    {"iso9899:199409", {false, ""}},
    {"c99", {false, "/std:c11"}},
    {"gnu99", {false, "/std:c11"}},
    {"c9x", {false, "/std:c11"}},
    {"gnu9x", {false, "/std:c11"}},
    {"iso9899:1999", {false, "/std:c11"}},
    {"c11", {false, "/std:c11"}},
    {"gnu11", {false, "/std:c11"}},
    {"c1x", {false, "/std:c11"}},
    {"gnu1x", {false, "/std:c11"}},
    {"iso9899:2011", {false, "/std:c11"}},
    {"c17", {false, "/std:c17"}},
    {"gnu17", {false, "/std:c17"}},
    {"c18", {false, "/std:c17"}},
    {"gnu18", {false, "/std:c17"}},
    {"iso9899:2017", {false, "/std:c17"}},
    {"iso9899:2018", {false, "/std:c17"}},
    {"c++98", {true, "/std:c++14"}},
    {"gnu++98", {true, "/std:c++14"}},
    {"c++03", {true, "/std:c++14"}},
    {"gnu++03", {true, "/std:c++14"}},
    {"c++11", {true, "/std:c++14"}},
    {"gnu++11", {true, "/std:c++14"}},
    {"c++0x", {true, "/std:c++14"}},
    {"gnu++0x", {true, "/std:c++14"}},
    {"c++14", {true, "/std:c++14"}},
    {"gnu++14", {true, "/std:c++14"}},
    {"c++1y", {true, "/std:c++14"}},
    {"gnu++1y", {true, "/std:c++14"}},
    {"c++17", {true, "/std:c++17"}},
    {"gnu++17", {true, "/std:c++17"}},
    {"c++1z", {true, "/std:c++17"}},
    {"gnu++1z", {true, "/std:c++17"}},
    {"c++20", {true, "/std:c++20"}},
    {"gnu++20", {true, "/std:c++20"}},
    {"c++2a", {true, "/std:c++20"}},
    {"gnu++2a", {true, "/std:c++20"}},
    {"c++23", {true, "/std:c++latest"}},
    {"gnu++23", {true, "/std:c++latest"}},
    {"c++2b", {true, "/std:c++latest"}},
    {"gnu++2b", {true, "/std:c++latest"}},
};

} // namespace

std::optional<LanguageLevel> languageLevel(std::string_view gccLevel) {
    for (const Level& level : levels) {
        if (level.gcc == gccLevel)
            return level.level;
    }
    return std::nullopt;
}

} // namespace zarn
