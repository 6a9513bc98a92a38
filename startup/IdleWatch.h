#pragma once
// "--idle DURATION": a watcher that starts the saver after a time without input, on desktops
// where no screen-saver daemon does.

#include "ui/Idle.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace modMain {

// Whether the command line asks for the watcher.
bool AsksForIdleWatch(const std::vector<std::string>& arguments);

// "10" (minutes), "90s", "10m" or "1h": from one second to one day. Nothing otherwise.
std::optional<std::chrono::milliseconds> IdleTimeout(std::string_view text);

// Runs the watcher; a missing or wrong duration is said on the standard error.
int WatchIdle(int argc, char** argv, const std::vector<std::string>& arguments);

} // namespace modMain
