// The end-to-end scripts' hands on the X server, for what xdotool cannot do.
//
//   xtool close WINDOW       asks the window to close, as a window manager does (WM_DELETE_WINDOW)
//   xtool first-frame START_NS   waits until the screen shows anything but black; prints the
//                            milliseconds since START_NS (a CLOCK_REALTIME time, as date +%s%N)
//   xtool watch-maps         prints "map WINDOW CLASS" for every top-level window mapped
//   xtool pane WIDTH HEIGHT  makes a window (a stand-in preview pane), prints its id and then
//                            obeys lines on its input: "resize W H", "destroy", "quit"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

xcb_atom_t Atom(xcb_connection_t* x, const char* name) {
    auto* reply = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, std::strlen(name), name), nullptr);
    xcb_atom_t atom = XCB_ATOM_NONE;
    if (reply)
        atom = reply->atom;
    std::free(reply);
    return atom;
}

int Close(xcb_connection_t* x, xcb_window_t window) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom(x, "WM_PROTOCOLS");
    event.data.data32[0] = Atom(x, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(x, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    // A round trip: the server has carried the request out before this client goes (a server
    // that sees the connection close first may drop what it has not read yet).
    std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));
    return 0;
}

int Pane(xcb_connection_t* x, int width, int height) {
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const xcb_window_t pane = xcb_generate_id(x);
    const uint32_t values[] = {screen->black_pixel};
    xcb_create_window(x, XCB_COPY_FROM_PARENT, pane, screen->root, 40, 40,
                      static_cast<uint16_t>(width), static_cast<uint16_t>(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL,
                      values);
    const char name[] = "moondial test pane";
    xcb_change_property(x, XCB_PROP_MODE_REPLACE, pane, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        sizeof name - 1, name);
    xcb_map_window(x, pane);
    std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr)); // a round trip
    std::printf("%u\n", pane);
    std::fflush(stdout);
    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "resize") {
            uint32_t size[2] = {};
            words >> size[0] >> size[1];
            xcb_configure_window(x, pane, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
        } else if (command == "destroy") {
            xcb_destroy_window(x, pane);
        } else if (command == "quit") {
            break;
        }
        std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr)); // a round trip
        std::printf("done %s\n", command.c_str());
        std::fflush(stdout);
    }
    return 0;
}

std::string ClassOf(xcb_connection_t* x, xcb_window_t window) {
    auto* reply = xcb_get_property_reply(
        x, xcb_get_property(x, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), nullptr);
    std::string name;
    if (reply && xcb_get_property_value_length(reply) > 0)
        name = static_cast<const char*>(xcb_get_property_value(reply)); // the instance part
    std::free(reply);
    return name.empty() ? "-" : name;
}

int FirstFrame(xcb_connection_t* x, long long start) {
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    for (int tries = 0; tries < 60000; ++tries) {
        auto* image = xcb_get_image_reply(x,
                                          xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root,
                                                        0, 0, screen->width_in_pixels,
                                                        screen->height_in_pixels, 0x00FFFFFF),
                                          nullptr);
        bool lit = false;
        if (image) {
            const auto* pixels = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image));
            const int count = xcb_get_image_data_length(image) / 4;
            for (int i = 0; i < count && !lit; ++i)
                lit = (pixels[i] & 0x00FFFFFF) != 0;
            std::free(image);
        }
        if (lit) {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::printf("%lld\n", (now.tv_sec * 1000000000LL + now.tv_nsec - start) / 1000000);
            return 0;
        }
        usleep(2000);
    }
    return 1;
}

int WatchMaps(xcb_connection_t* x) {
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t mask[] = {XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY};
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, mask);
    xcb_flush(x);
    std::printf("watching\n");
    std::fflush(stdout);
    while (xcb_generic_event_t* event = xcb_wait_for_event(x)) {
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            const auto window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
            std::printf("map %u %s\n", window, ClassOf(x, window).c_str());
            std::fflush(stdout);
        }
        std::free(event);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "xtool: no X display\n");
        return 2;
    }
    const std::string command = argc > 1 ? argv[1] : "";
    int status = 2;
    if (command == "close" && argc == 3)
        status = Close(x, static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0)));
    else if (command == "first-frame" && argc == 3)
        status = FirstFrame(x, std::atoll(argv[2]));
    else if (command == "watch-maps" && argc == 2)
        status = WatchMaps(x);
    else if (command == "pane" && argc == 4)
        status = Pane(x, std::atoi(argv[2]), std::atoi(argv[3]));
    else
        std::fprintf(stderr, "usage: xtool close WINDOW | xtool pane WIDTH HEIGHT\n");
    xcb_disconnect(x);
    return status;
}
