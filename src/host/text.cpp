#include "host/text.h"

namespace zarn {

namespace {

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool stripLineEnd(std::string& text) {
    if (text.empty())
        return false;
    if (text.back() == '\n') {
        text.pop_back();
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        return true;
    }
    if (text.back() == '\r') {
        text.pop_back();
        return true;
    }
    return false;
}

std::string directoryPart(std::string_view path) {
    std::size_t separator = path.find_last_of("/\\");
    if (separator == std::string_view::npos || separator == 0)
        return std::string();
    return std::string(path.substr(0, separator));
}

bool textEquals(std::string_view text, std::string_view literal, bool ignoreCase) {
    if (text.size() != literal.size())
        return false;
    if (!ignoreCase)
        return text == literal;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (asciiLower(text[i]) != asciiLower(literal[i]))
            return false;
    }
    return true;
}

std::string escapeSpaces(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size() + 8);
    for (char c : text) {
        if (c == ' ')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string escapeForMake(std::string_view name) {
    if (name.find_first_of(" $#") == std::string_view::npos)
        return std::string(name);
    std::string escaped;
    escaped.reserve(name.size() + 8);
    for (char c : name) {
        if (c == ' ' || c == '#')
            escaped += '\\';
        else if (c == '$')
            escaped += '$';
        escaped += c;
    }
    return escaped;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool endsWithAny(std::string_view text, std::initializer_list<std::string_view> suffixes) {
    for (std::string_view suffix : suffixes) {
        if (endsWith(text, suffix))
            return true;
    }
    return false;
}

} // namespace zarn
