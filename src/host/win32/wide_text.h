// Text between zarn's byte strings and the wide strings of the Windows calls.
#pragma once

#include <string>
#include <string_view>

namespace zarn {

// The text as UTF-16: read as UTF-8, or, when it is not valid UTF-8 (a file written in the
// active code page), in the active code page.
std::wstring toWide(std::string_view text);

// The text as UTF-8.
std::string fromWide(std::wstring_view text);

} // namespace zarn
