#pragma once
// The command line the system starts the program with, less the program's own path.

#include <string>
#include <string_view>

namespace ui::win32 {

// The full path of the program file.
std::wstring ModulePath();

// What follows the program's path and the blanks after it. The path may be quoted, or given
// unquoted with blanks in it (as some launchers pass it): the program's own path is skipped
// exactly, whatever the case of its letters; any other first word is skipped to its end.
std::wstring ArgumentsAfterProgram(std::wstring_view commandLine, std::wstring_view modulePath);

} // namespace ui::win32
