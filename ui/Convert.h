#pragma once
// Text conversions with the failure numbers the program's traps expect.

#include <cstdint>
#include <string>
#include <string_view>

namespace ui {

// Blanks around an optional sign and decimal digits. Anything else fails with
// errors::TypeMismatch, a value outside 32 bits with errors::Overflow.
std::int32_t ToInt32(std::string_view text);

// "True" or "False" in any case; anything else fails with errors::TypeMismatch.
bool ToBoolean(std::string_view text);

std::string ToText(std::int64_t number);

// Leading and trailing blanks (spaces only) removed; blanks inside stay.
std::string_view TrimBlanks(std::string_view text);

std::string ToLowerAscii(std::string_view text);

} // namespace ui
