#pragma once
// Moondial as a screen-saver "hack" of the X11 savers (XScreenSaver and its kin): the daemon
// starts it with options of its own and gives it a window to draw in.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace modMain {

struct HackOptions {
    bool Root = false;                     // --root: the daemon's window, or the desktop
    std::optional<std::uint32_t> WindowId; // --window-id ID, decimal or 0x hex
    std::optional<std::int32_t> SaverType; // --type N, instead of the stored type
    std::optional<std::string> Picture;    // --picture PATH, instead of the stored path
};

// The options when the arguments are a hack's (the first begins with "-" and is not a switch of
// the display settings); nothing otherwise. A malformed option fails with a text saying so.
std::optional<HackOptions> ParseHackOptions(const std::vector<std::string>& arguments,
                                            std::string& error);

// The window the hack draws in: the one named, or with --root (or no window named) the one the
// daemon names in XSCREENSAVER_WINDOW, or with --root the desktop; nothing when none is known.
std::optional<std::uint32_t> HackWindow(const HackOptions& options, const char* daemonWindow,
                                        std::uint32_t desktop);

} // namespace modMain
