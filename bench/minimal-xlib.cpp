// The floor as a plain Xlib program: a black full-screen X window with one 143 x 143 child
// window moved every 30 ms and redrawn once a second (its whole picture put again, a hand on it
// at the second's angle), the process asleep in poll() on the connection between moves and
// reading the server's events only when there are some. At a display scale the window and its
// steps are that many times larger, as the saver's are.
//
//   minimal-xlib [SCALE]

#include "Floor.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <poll.h>
#include <vector>

int main(int argc, char** argv) {
    using Clock = std::chrono::steady_clock;
    const double scale = argc > 1 ? std::atof(argv[1]) : 1.0;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return EXIT_FAILURE;
    const int screen = DefaultScreen(display);
    const int width = DisplayWidth(display, screen), height = DisplayHeight(display, screen),
              side = static_cast<int>(std::lround(143 * scale));

    XSetWindowAttributes black{};
    black.background_pixel = BlackPixel(display, screen);
    black.override_redirect = True;
    const Window top =
        XCreateWindow(display, RootWindow(display, screen), 0, 0, width, height, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect, &black);
    const Window box =
        XCreateSimpleWindow(display, top, 0, 0, side, side, 0, BlackPixel(display, screen),
                            WhitePixel(display, screen));
    XSelectInput(display, box, ExposureMask);
    const GC gc = XCreateGC(display, box, 0, nullptr);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(side) * side);
    XImage* image = XCreateImage(display, DefaultVisual(display, screen), 24, ZPixmap, 0,
                                 reinterpret_cast<char*>(pixels.data()), side, side, 32, 0);
    XMapWindow(display, box);
    XMapWindow(display, top);
    XFlush(display);

    const auto period = std::chrono::milliseconds(30);
    Bounce moving{width, height, side, static_cast<int>(std::lround(2 * scale))};
    std::time_t shown = 0;
    auto next = Clock::now() + period;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    for (;;) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now());
        bool readable = XQLength(display) > 0;
        if (!readable && wait.count() > 0 &&
            poll(&connection, 1, static_cast<int>(wait.count())) > 0) {
            if (connection.revents & (POLLERR | POLLHUP))
                break;
            readable = true;
        }
        bool exposed = false;
        while (readable && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            exposed |= event.type == Expose && event.xexpose.count == 0;
        }
        const auto now = Clock::now();
        if (now < next) {
            if (exposed)
                XPutImage(display, box, gc, image, 0, 0, 0, 0, side, side);
            continue;
        }
        next = now - next > period ? now + period : next + period;
        moving.Step();
        XMoveWindow(display, box, moving.left, moving.top);
        if (const std::time_t second = std::time(nullptr); second != shown || exposed) {
            shown = second;
            DrawFace(pixels, side, static_cast<int>(second % 60));
            XPutImage(display, box, gc, image, 0, 0, 0, 0, side, side);
        }
        XFlush(display);
    }
    image->data = nullptr; // the vector's
    XDestroyImage(image);
    XCloseDisplay(display);
    return EXIT_SUCCESS;
}
