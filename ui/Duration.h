#pragma once
// A duration as the user writes one on a command line: "10" (minutes), "90s", "10m", "1h".

#include <chrono>
#include <optional>
#include <string_view>

namespace ui {

// From one second to one day; nothing for any other text.
std::optional<std::chrono::milliseconds> ParseDuration(std::string_view text);

} // namespace ui
