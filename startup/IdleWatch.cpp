#include "startup/IdleWatch.h"

#include "startup/SaverStarts.h"
#include "ui/InstanceMark.h"

#include <algorithm>
#include <cctype>
#include <charconv>
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
    using namespace std::chrono;
    long long count = 0;
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, count);
    if (error != std::errc() || rest == text.data())
        return std::nullopt;
    const std::string unit = Lower(std::string(rest, end));
    seconds perUnit{};
    if (unit.empty() || unit == "m")
        perUnit = minutes(1);
    else if (unit == "s")
        perUnit = seconds(1);
    else if (unit == "h")
        perUnit = hours(1);
    else
        return std::nullopt;
    // Checked before multiplying, so a huge count cannot wrap round into range.
    if (count < 1 || count > hours(24) / perUnit)
        return std::nullopt;
    return duration_cast<milliseconds>(perUnit * count);
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
