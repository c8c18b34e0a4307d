// gcc's language levels ("-std=gnu11", "-std=c++17") as cl.exe options.
#pragma once

#include <optional>
#include <string_view>

namespace zarn {

struct LanguageLevel {
    bool cxx;                // a C++ level, else a C level
    std::string_view option; // "/std:c11", …; empty where the compiler's default covers it
};

// The nearest "/std:" option for the level, or nothing for a level cl.exe has no match for.
std::optional<LanguageLevel> languageLevel(std::string_view gccLevel);

} // namespace zarn
