// Whether the X server's display is powered, from its DPMS extension: asked every few seconds
// while a saver runs, so that nothing moves in front of a dark screen. A server without the
// extension (Xvfb among them), or another platform, is never asked.

#include "ui/qt/DisplayPower.h"

#include "ui/qt/Widgets.h"
#include "ui/qt/XConnection.h"

#include <QTimer>
#include <cstdlib>
#include <memory>
#include <optional>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

namespace ui {

namespace {

xcb_extension_t DpmsExtension = {"DPMS", 0};
constexpr std::uint8_t DpmsInfo = 7;
constexpr int AskEvery = 5000; // milliseconds

struct DpmsInfoRequest {
    std::uint8_t major, minor;
    std::uint16_t length;
};
struct DpmsInfoReply {
    std::uint8_t responseType, pad0;
    std::uint16_t sequence;
    std::uint32_t length;
    std::uint16_t powerLevel; // 0 on, 1 standby, 2 suspend, 3 off
    std::uint8_t enabled;
    std::uint8_t pad1[21];
};

bool HasDpms(xcb_connection_t* x) {
    const xcb_query_extension_reply_t* found = xcb_get_extension_data(x, &DpmsExtension);
    return found && found->present;
}

// Off, standby or suspended: dark. Nothing when the server could not tell.
std::optional<bool> DisplayDark(xcb_connection_t* x) {
    static const xcb_protocol_request_t kind = {1, &DpmsExtension, DpmsInfo, 0};
    DpmsInfoRequest request{0, 0, 0}; // xcb fills in the opcode and the length
    struct iovec parts[2];
    parts[0].iov_base = &request;
    parts[0].iov_len = sizeof request;
    const unsigned sequence = xcb_send_request(x, XCB_REQUEST_CHECKED, parts, &kind);
    xcb_generic_error_t* error = nullptr;
    auto* reply = static_cast<DpmsInfoReply*>(xcb_wait_for_reply(x, sequence, &error));
    std::free(error);
    if (!reply)
        return std::nullopt;
    const bool dark = reply->enabled && reply->powerLevel != 0;
    std::free(reply);
    return dark;
}

} // namespace

void WatchDisplayPower() {
    static std::unique_ptr<QTimer> watch;
    xcb_connection_t* x = X();
    if (watch || !x || !HasDpms(x))
        return;
    watch = std::make_unique<QTimer>();
    watch->setInterval(AskEvery);
    watch->setTimerType(Qt::VeryCoarseTimer);
    QObject::connect(watch.get(), &QTimer::timeout, [] {
        static bool dark = false;
        if (xcb_connection_t* now = X())
            if (const std::optional<bool> seen = DisplayDark(now); seen && *seen != dark) {
                dark = *seen;
                DisplayAsleep(dark);
            }
    });
    watch->start();
}

} // namespace ui
