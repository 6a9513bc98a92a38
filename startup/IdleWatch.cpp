#include "startup/IdleWatch.h"

#include "startup/SaverStarts.h"
#include "ui/Duration.h"
#include "ui/InstanceMark.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace modMain {

namespace {

constexpr std::string_view Option = "--idle";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

bool AsksForIdleWatch(const std::vector<std::string>& arguments) {
    return !arguments.empty() && Lower(arguments.front()) == Option;
}

std::optional<std::chrono::milliseconds> IdleTimeout(std::string_view text) {
    return ui::ParseDuration(text);
}

int WatchIdle(int argc, char** argv, const std::vector<std::string>& arguments) {
    const auto timeout = arguments.size() == 2 ? IdleTimeout(arguments[1])
                                               : std::optional<std::chrono::milliseconds>();
    if (!timeout) {
        std::fputs("moondial: --idle takes one duration from 1 second to 1 day: minutes, or "
                   "with a unit (90s, 10m, 1h)\n",
                   stderr);
        return ui::idle::BadCommandLine;
    }
    // Two watchers would each start a saver, and only one would hear the bus's inhibitors.
    const ui::InstanceMark mark(ui::InstanceMark::Of::IdleWatch);
    if (!mark.Held()) {
        std::fputs("moondial: an idle watcher already runs in this session\n", stderr);
        return ui::idle::AlreadyWatching;
    }
    SaverStarts starts(*timeout);
    return ui::idle::Watch(argc, argv, *timeout, starts);
}

} // namespace modMain
