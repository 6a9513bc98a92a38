#include "ui/qt/idle/X11Idle.h"

#include "ui/qt/Handles.h"

#include <QSocketNotifier>
#include <QTimer>
#include <xcb/screensaver.h>
#include <xcb/xcb.h>

namespace ui::idle {

namespace {

using namespace std::chrono;

// The server counts the time since the last input but says nothing when it passes a mark: it
// is asked when the timeout could first be reached, and each second once it has been.
class Client final : public X11Idle {
public:
    Client(xcb_connection_t* connection, xcb_window_t rootWindow, milliseconds wait,
           Report reported)
        : server(connection), root(rootWindow), timeout(wait), report(std::move(reported)) {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [this] { Ask(); });
        // A server that goes away closes the connection at once, hours before the next
        // question would find out: its end wakes the watcher, nothing else does.
        QObject::connect(&closed, &QSocketNotifier::activated, [this] {
            // Read and dropped: only the connection's end matters here.
            while (const xcb::Owned<xcb_generic_event_t> event{xcb_poll_for_event(server.get())}) {
            }
            if (xcb_connection_has_error(server.get())) {
                closed.setEnabled(false);
                timer.stop();
                report(Edge::Gone);
            }
        });
        Ask();
    }

    const char* Name() const override { return "MIT-SCREEN-SAVER"; }

private:
    void Ask() {
        const xcb::Owned<xcb_screensaver_query_info_reply_t> info(xcb_screensaver_query_info_reply(
            server.get(), xcb_screensaver_query_info(server.get(), root), nullptr));
        if (!info) {
            closed.setEnabled(false);
            return report(Edge::Gone);
        }
        const milliseconds idleFor(info->ms_since_user_input);
        if (away && idleFor < lastIdleFor) {
            away = false;
            report(Edge::Back);
        } else if (!away && idleFor >= timeout) {
            away = true;
            report(Edge::Idle);
        }
        lastIdleFor = idleFor;
        timer.start(away ? milliseconds(seconds(1)) : timeout - idleFor);
    }

    xcb::Connection server;
    xcb_window_t root;
    milliseconds timeout;
    Report report;
    QTimer timer;
    QSocketNotifier closed{xcb_get_file_descriptor(server.get()), QSocketNotifier::Read};
    bool away = false;
    milliseconds lastIdleFor{0};
};

} // namespace

std::unique_ptr<X11Idle> X11Idle::Find(milliseconds timeout, Report report) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        return nullptr;
    int screenNumber = 0;
    xcb::Connection server(xcb_connect(nullptr, &screenNumber));
    if (xcb_connection_has_error(server.get()))
        return nullptr;
    const auto* extension = xcb_get_extension_data(server.get(), &xcb_screensaver_id);
    if (!extension || !extension->present)
        return nullptr;
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(server.get()));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0)
        return nullptr;
    const xcb_window_t root = screens.data->root;
    return std::make_unique<Client>(server.release(), root, timeout, std::move(report));
}

} // namespace ui::idle
