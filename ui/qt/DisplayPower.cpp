// Whether the X server's display is powered, from its DPMS extension: asked every few seconds
// while a saver runs, so that nothing moves in front of a dark screen. A server without the
// extension (Xvfb among them), or another platform, is never asked.

#include "ui/qt/DisplayPower.h"

#include "ui/Wakeup.h"
#include "ui/qt/Dpms.h"
#include "ui/qt/XConnection.h"

#include <QTimer>
#include <memory>
#include <xcb/xcb.h>

namespace ui {

namespace {

constexpr int AskEvery = 5000; // milliseconds

} // namespace

void WatchDisplayPower() {
    static std::unique_ptr<QTimer> watch;
    xcb_connection_t* x = X();
    if (watch || !x || !dpms::Present(x))
        return;
    watch = std::make_unique<QTimer>();
    watch->setInterval(AskEvery);
    watch->setTimerType(Qt::VeryCoarseTimer);
    QObject::connect(watch.get(), &QTimer::timeout, [] {
        static bool dark = false;
        if (xcb_connection_t* now = X())
            if (const auto seen = dpms::AskInfo(now); seen && seen->dark != dark) {
                dark = seen->dark;
                DisplayAsleep(dark);
            }
    });
    watch->start();
}

} // namespace ui
