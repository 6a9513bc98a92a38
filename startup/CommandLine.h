#pragma once
// Reading the command line the display settings start the program with.

#include <cstdint>
#include <optional>
#include <string_view>

namespace modMain {

enum class Mode { Setup, Saver, Preview, None };

// The first two characters, case ignored, choose the mode; the rest is not looked at.
// An empty command line is the system's "Configure" command and opens the setup dialog.
Mode ModeOf(std::string_view arguments);

// The preview pane's handle (and, for "/c", the setup dialog's owner): what follows the
// switch and one separator character of any kind, as a
// 32-bit number, signed or (as some print handles) unsigned. Nothing when it is missing or no
// such number.
std::optional<std::int32_t> PreviewWindowNumber(std::string_view arguments);

} // namespace modMain
