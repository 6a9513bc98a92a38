#pragma once
// The platform's own services behind the outside world's table (ui/Outside.cpp): what each
// backend's System.cpp asks its system for.

#include <optional>
#include <string>
#include <vector>

namespace ui::sys {

// A modal message box with one OK button, above every window of the program.
void ShowMessageBox(const std::string& text, int style, const std::string& title);
// The system's Open dialog; the chosen file's full path, nothing when cancelled.
std::optional<std::string> ChooseFileInDialog(const std::string& folder, const std::string& filter);
bool OpenInBrowser(const std::string& address);
// The command line after the program's path, whole and as the system split it.
std::string ArgumentText();
std::vector<std::string> ArgumentList();
[[noreturn]] void EndNow();

} // namespace ui::sys
