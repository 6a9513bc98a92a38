#include "ui/qt/Dpms.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <xcb/xcbext.h>

namespace ui::dpms {

namespace {

xcb_extension_t Extension = {"DPMS", 0};
constexpr std::uint8_t GetTimeouts = 2;
constexpr std::uint8_t GetInfo = 7;

struct Free {
    void operator()(void* reply) const { std::free(reply); }
};

struct InfoReply {
    std::uint8_t responseType, pad0;
    std::uint16_t sequence;
    std::uint32_t length;
    std::uint16_t powerLevel; // 0 on, 1 standby, 2 suspend, 3 off
    std::uint8_t enabled;
    std::uint8_t pad1[21];
};
struct TimeoutsReply {
    std::uint8_t responseType, pad0;
    std::uint16_t sequence;
    std::uint32_t length;
    std::uint16_t standby, suspend, off; // seconds; 0: not set
    std::uint8_t pad1[18];
};

template <typename Reply> std::unique_ptr<Reply, Free> Ask(xcb_connection_t* x, std::uint8_t what) {
    const xcb_protocol_request_t kind = {1, &Extension, what, 0};
    struct {
        std::uint8_t major, minor;
        std::uint16_t length;
    } request{0, 0, 0}; // xcb fills in the opcode and the length
    struct iovec parts[2];
    parts[0].iov_base = &request;
    parts[0].iov_len = sizeof request;
    const unsigned sequence = xcb_send_request(x, XCB_REQUEST_CHECKED, parts, &kind);
    xcb_generic_error_t* error = nullptr;
    auto* reply = static_cast<Reply*>(xcb_wait_for_reply(x, sequence, &error));
    std::free(error);
    return std::unique_ptr<Reply, Free>(reply);
}

} // namespace

bool Present(xcb_connection_t* x) {
    const xcb_query_extension_reply_t* found = xcb_get_extension_data(x, &Extension);
    return found && found->present;
}

std::optional<Info> AskInfo(xcb_connection_t* x) {
    const auto reply = Ask<InfoReply>(x, GetInfo);
    if (!reply)
        return std::nullopt;
    return Info{reply->enabled != 0, reply->enabled && reply->powerLevel != 0};
}

std::optional<std::chrono::seconds> AskFirstTimeout(xcb_connection_t* x) {
    const auto reply = Ask<TimeoutsReply>(x, GetTimeouts);
    if (!reply)
        return std::nullopt;
    int first = 0;
    for (const int timeout : {reply->standby, reply->suspend, reply->off})
        if (timeout > 0 && (first == 0 || timeout < first))
            first = timeout;
    if (first == 0)
        return std::nullopt;
    return std::chrono::seconds(first);
}

} // namespace ui::dpms
