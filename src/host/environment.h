// The process environment, which the tools inherit.
#pragma once

#include <optional>
#include <string>

namespace zarn {

// The variable's value; nothing when it is unset.
std::optional<std::string> environmentValue(const char* name);

// Sets the variable for this process and every child started afterwards; fatal on failure.
void setEnvironmentValue(const char* name, const std::string& value);

} // namespace zarn
