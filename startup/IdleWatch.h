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

// When the saver starts: once the user has been idle for the timeout, no application holds
// it off, the session is not locked or asleep and none of ours runs; once per time away, so a
// saver that ends by itself (another one already runs, say) is not started again until the
// user has come back, nor one after an unlock until the user has been away again. After an
// application lets go, the timeout counts again from the release.
class SaverStarts {
public:
    bool After(ui::idle::Event event);

private:
    bool away = false; // from the idle source's UserIdle to its UserBack
    bool idle = false; // away for the timeout since the last input and the last release
    bool inhibited = false;
    bool locked = false;
    bool running = false;
    bool startedWhileIdle = false;
};

// Runs the watcher; a missing or wrong duration is said on the standard error.
int WatchIdle(int argc, char** argv, const std::vector<std::string>& arguments);

} // namespace modMain
