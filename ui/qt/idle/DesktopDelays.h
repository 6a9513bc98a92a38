#pragma once
// The desktop's own delays before it blanks or locks the screen. One shorter than the
// watcher's duration wins every time: the user gets black or the lock screen, never the clock.

#include <QString>
#include <chrono>
#include <string>
#include <vector>

namespace ui::idle {

struct DesktopDelay {
    QString what;    // "GNOME blanks the screen"
    QString setting; // where the user changes it
    std::chrono::seconds after;
};

// GNOME's idle delay (on GNOME), Plasma's screen-locker timeout (on KDE Plasma), and on X11
// the server's screen-saver and display-power timeouts; the ones switched off are left out.
std::vector<DesktopDelay> DesktopDelays();

// The delays that come before the saver's own: each of them wins every time.
std::vector<DesktopDelay> Earlier(const std::vector<DesktopDelay>& delays,
                                  std::chrono::milliseconds timeout);

// What to tell the user of each delay that comes before the watcher's timeout.
std::vector<std::string> EarlierDelays(const std::vector<DesktopDelay>& delays,
                                       std::chrono::milliseconds timeout);

// "10 min", "90 s".
std::string Described(std::chrono::milliseconds duration);

} // namespace ui::idle
