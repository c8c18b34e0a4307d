#include "host/win32/wide_text.h"

#include <windows.h>

namespace zarn {

namespace {

std::wstring convert(std::string_view text, UINT codePage, DWORD flags, bool& valid) {
    valid = true;
    if (text.empty())
        return std::wstring();
    int length = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0);
    if (length <= 0) {
        valid = false;
        return std::wstring();
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

} // namespace

std::wstring toWide(std::string_view text) {
    bool valid;
    std::wstring wide = convert(text, CP_UTF8, MB_ERR_INVALID_CHARS, valid);
    if (!valid)
        wide = convert(text, CP_ACP, 0, valid);
    return wide;
}

std::string fromWide(std::wstring_view text) {
    if (text.empty())
        return std::string();
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                        length, nullptr, nullptr);
    return bytes;
}

} // namespace zarn
