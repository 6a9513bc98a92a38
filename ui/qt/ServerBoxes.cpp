#include "ui/qt/ServerBoxes.h"

#include "ui/Units.h"
#include "ui/qt/XConnection.h"

#include <algorithm>
#include <cstdlib>
#include <xcb/xcb.h>

namespace ui {

namespace {

// Boxes are drawn as 32-bit pixels of a 24-bit TrueColor visual, which is what QImage's RGB32
// is byte for byte on a little-endian server; anything else keeps plain widgets.
bool UsualVisual(xcb_connection_t* x, std::uint8_t& depth) {
    const xcb_setup_t* setup = xcb_get_setup(x);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return false;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    if (screen->root_depth != 24)
        return false;
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem;
         xcb_format_next(&formats))
        if (formats.data->depth == 24 && formats.data->bits_per_pixel == 32) {
            depth = 24;
            return true;
        }
    return false;
}

} // namespace

ServerBox::ServerBox(std::uint32_t parentWindow, const QRect& geometry, bool shown)
    : size_(geometry.size()) {
    xcb_connection_t* x = X();
    window_ = xcb_generate_id(x);
    // No events: input goes on to the form's window, and nothing comes back for a move.
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const std::uint32_t values[] = {0, 0, XCB_EVENT_MASK_NO_EVENT, screen->default_colormap};
    xcb_create_window(x, 24, window_, parentWindow, static_cast<std::int16_t>(geometry.x()),
                      static_cast<std::int16_t>(geometry.y()),
                      static_cast<std::uint16_t>(std::max(1, geometry.width())),
                      static_cast<std::uint16_t>(std::max(1, geometry.height())), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP,
                      values);
    if (shown)
        xcb_map_window(x, window_);
}

ServerBox::~ServerBox() {
    if (xcb_connection_t* x = X()) {
        xcb_destroy_window(x, window_);
        if (pixmap_)
            xcb_free_pixmap(x, pixmap_);
    }
}

void ServerBox::Move(int left, int top) {
    MoveXWindow(window_, left, top);
}

void ServerBox::Resize(int width, int height) {
    const std::uint32_t size[] = {static_cast<std::uint32_t>(std::max(1, width)),
                                  static_cast<std::uint32_t>(std::max(1, height))};
    xcb_configure_window(X(), window_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
}

void ServerBox::SetShown(bool shown) {
    shown ? xcb_map_window(X(), window_) : xcb_unmap_window(X(), window_);
}

void ServerBox::Show(const QImage& content) {
    Show(content, content.rect());
}

void ServerBox::Show(const QImage& content, const QRect& changed) {
    xcb_connection_t* x = X();
    QImage image = content.convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return;
    QRect part = changed & image.rect();
    if (!pixmap_ || size_ != image.size()) {
        if (pixmap_)
            xcb_free_pixmap(x, pixmap_);
        pixmap_ = xcb_generate_id(x);
        size_ = image.size();
        xcb_create_pixmap(x, 24, pixmap_, window_, static_cast<std::uint16_t>(size_.width()),
                          static_cast<std::uint16_t>(size_.height()));
        const std::uint32_t background[] = {pixmap_};
        xcb_change_window_attributes(x, window_, XCB_CW_BACK_PIXMAP, background);
        part = image.rect(); // a new pixmap holds nothing yet
    }
    if (part.isEmpty())
        return;
    if (part != image.rect())
        image = image.copy(part); // its rows one after the other, as the request carries them
    const xcb_gcontext_t gc = xcb_generate_id(x);
    xcb_create_gc(x, gc, pixmap_, 0, nullptr);
    // In strips the server takes in one request each.
    const std::size_t maximum = static_cast<std::size_t>(xcb_get_maximum_request_length(x)) * 4;
    const std::size_t row = static_cast<std::size_t>(image.bytesPerLine());
    const int rows = static_cast<int>(std::max<std::size_t>(1, (maximum - 64) / row));
    for (int top = 0; top < image.height(); top += rows) {
        const int count = std::min(rows, image.height() - top);
        xcb_put_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap_, gc,
                      static_cast<std::uint16_t>(image.width()), static_cast<std::uint16_t>(count),
                      static_cast<std::int16_t>(part.x()),
                      static_cast<std::int16_t>(part.y() + top), 0, 24,
                      static_cast<std::uint32_t>(row * static_cast<std::size_t>(count)),
                      image.constScanLine(top));
    }
    xcb_free_gc(x, gc);
    // The window shows its new background there.
    xcb_clear_area(x, 0, window_, static_cast<std::int16_t>(part.x()),
                   static_cast<std::int16_t>(part.y()), static_cast<std::uint16_t>(part.width()),
                   static_cast<std::uint16_t>(part.height()));
}

std::unique_ptr<Stage> Stage::Over(std::uint32_t formWindow, const QSize& size,
                                   std::uint32_t backRgb) {
    xcb_connection_t* x = X();
    std::uint8_t depth = 0;
    if (!x || !formWindow || !UsualVisual(x, depth))
        return nullptr;
    const std::uint32_t window = xcb_generate_id(x);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    // The form's colour as the background pixel, and no events.
    const std::uint32_t values[] = {backRgb, 0, XCB_EVENT_MASK_NO_EVENT, screen->default_colormap};
    xcb_create_window(
        x, depth, window, formWindow, 0, 0, static_cast<std::uint16_t>(std::max(1, size.width())),
        static_cast<std::uint16_t>(std::max(1, size.height())), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
        screen->root_visual,
        XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, values);
    xcb_map_window(x, window);
    return std::unique_ptr<Stage>(new Stage(window));
}

Stage::~Stage() {
    if (xcb_connection_t* x = X())
        xcb_destroy_window(x, window_);
}

void Stage::Resize(const QSize& size) {
    const std::uint32_t values[] = {static_cast<std::uint32_t>(std::max(1, size.width())),
                                    static_cast<std::uint32_t>(std::max(1, size.height()))};
    xcb_configure_window(X(), window_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
}

void Stage::SetBackColor(std::uint32_t rgb) {
    xcb_connection_t* x = X();
    const std::uint32_t values[] = {rgb};
    xcb_change_window_attributes(x, window_, XCB_CW_BACK_PIXEL, values);
    xcb_clear_area(x, 0, window_, 0, 0, 0, 0);
}

QPoint DevicePoint(const QPoint& logical, double scale) {
    return {static_cast<int>(LogicalToDevice(logical.x(), scale)),
            static_cast<int>(LogicalToDevice(logical.y(), scale))};
}

QSize DeviceSize(const QSize& logical, double scale) {
    return {static_cast<int>(LogicalToDevice(logical.width(), scale)),
            static_cast<int>(LogicalToDevice(logical.height(), scale))};
}

QRect DeviceRect(const QRect& logical, double scale) {
    return {DevicePoint(logical.topLeft(), scale), DeviceSize(logical.size(), scale)};
}

void FlushServer() {
    FlushX();
}

} // namespace ui
