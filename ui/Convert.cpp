#include "ui/Convert.h"

#include "ui/Error.h"

#include <limits>

namespace ui {

namespace {

bool IsBlank(char c) {
    return c == ' ';
}

[[noreturn]] void TypeMismatch() {
    throw Error(errors::TypeMismatch, "Type mismatch");
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string ToLowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = LowerAscii(c);
    return lower;
}

std::int32_t ToInt32(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t digitsStart = i;
    // Accumulate as a magnitude that stops growing once it is out of range, so any
    // number of digits is safe and the overflow is reported only for valid text.
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
        if (magnitude <= limit)
            magnitude = magnitude * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digitsStart)
        TypeMismatch();
    while (i < n && IsBlank(text[i]))
        ++i;
    if (i != n)
        TypeMismatch();
    if (magnitude > (negative ? limit : limit - 1))
        throw Error(errors::Overflow, "Overflow");
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

bool ToBoolean(std::string_view text) {
    const std::string lower = ToLowerAscii(text);
    if (lower == "true")
        return true;
    if (lower == "false")
        return false;
    TypeMismatch();
}

std::string ToText(std::int64_t number) {
    return std::to_string(number);
}

} // namespace ui
