// The floor under any toolkit: a black full-screen X window with one 143 x 143 child window
// moved every 30 ms and redrawn once a second (its whole picture put again, a hand on it at the
// second's angle), in plain xcb with the process asleep in poll() between moves. Nothing that
// shows a clock moving 33 times a second on the same machine can cost less. At a display scale
// the window and its steps are that many times larger, as the saver's are.
//
//   minimal-xcb [SCALE]

#include "Floor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <poll.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

// In bands of rows, each within the core protocol's request size.
void PutPicture(xcb_connection_t* x, xcb_window_t box, xcb_gcontext_t gc,
                const std::vector<std::uint32_t>& pixels, int side) {
    const int rows = std::max(1, 60000 / side);
    for (int top = 0; top < side; top += rows) {
        const int band = std::min(rows, side - top);
        xcb_put_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, box, gc, static_cast<std::uint16_t>(side),
                      static_cast<std::uint16_t>(band), 0, static_cast<std::int16_t>(top), 0, 24,
                      static_cast<std::uint32_t>(band * side * 4),
                      reinterpret_cast<const std::uint8_t*>(&pixels[top * side]));
    }
}

} // namespace

int main(int argc, char** argv) {
    const double scale = argc > 1 ? std::atof(argv[1]) : 1.0;
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x))
        return EXIT_FAILURE;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const int width = screen->width_in_pixels, height = screen->height_in_pixels,
              side = static_cast<int>(std::lround(143 * scale));

    const xcb_window_t top = xcb_generate_id(x), box = xcb_generate_id(x);
    const std::uint32_t black[] = {screen->black_pixel, 1};
    xcb_create_window(x, XCB_COPY_FROM_PARENT, top, screen->root, 0, 0,
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, black);
    const std::uint32_t white[] = {screen->white_pixel};
    xcb_create_window(x, XCB_COPY_FROM_PARENT, box, top, 0, 0, side, side, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, white);
    const xcb_gcontext_t gc = xcb_generate_id(x);
    xcb_create_gc(x, gc, box, 0, nullptr);
    xcb_map_window(x, box);
    xcb_map_window(x, top);
    xcb_flush(x);

    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(side) * side);
    std::time_t shown = 0;
    Bounce moving{width, height, side, static_cast<int>(std::lround(2 * scale))};
    while (!xcb_connection_has_error(x)) {
        poll(nullptr, 0, 30);
        moving.Step();
        const std::uint32_t place[] = {static_cast<std::uint32_t>(moving.left),
                                       static_cast<std::uint32_t>(moving.top)};
        xcb_configure_window(x, box, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, place);
        if (const std::time_t now = std::time(nullptr); now != shown) {
            shown = now;
            DrawFace(pixels, side, static_cast<int>(now % 60));
            PutPicture(x, box, gc, pixels, side);
        }
        xcb_flush(x);
    }
    xcb_disconnect(x);
    return EXIT_SUCCESS;
}
