#pragma once
// UTF-8 inside the program, UTF-16 at the Windows API.

#include <string>
#include <string_view>

namespace ui::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// The system's text for an error code, without the trailing line end.
std::string SystemMessage(unsigned long code);

} // namespace ui::win32
