// gcc's flags without a value of their own ("-Wall", "-frtti", "-fno-rtti", "-shared"), as
// gcc mode reads them.
#pragma once

#include "driver/classification.h"

#include <string_view>

namespace zarn {

// Whether gcc mode knows the flag.
bool isGccFlag(std::string_view text);

// Carries out what the flag means; for a flag of a family with a negative form, the last one
// given wins, as in gcc.
void applyGccFlag(Classification& c, const Argument& a);

} // namespace zarn
