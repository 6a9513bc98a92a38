#include "ui/qt/Dpms.h"

#include "ui/qt/Handles.h"

#include <xcb/dpms.h>

namespace ui::dpms {

using xcb::Owned;

bool Present(xcb_connection_t* x) {
    // Asked first: a request to an extension the server lacks closes the connection.
    const xcb_query_extension_reply_t* found = xcb_get_extension_data(x, &xcb_dpms_id);
    return found && found->present;
}

std::optional<Info> AskInfo(xcb_connection_t* x) {
    const Owned<xcb_dpms_info_reply_t> reply(xcb_dpms_info_reply(x, xcb_dpms_info(x), nullptr));
    if (!reply)
        return std::nullopt;
    const bool enabled = reply->state != 0;
    return Info{enabled, enabled && reply->power_level != XCB_DPMS_DPMS_MODE_ON};
}

std::optional<std::chrono::seconds> AskFirstTimeout(xcb_connection_t* x) {
    const Owned<xcb_dpms_get_timeouts_reply_t> reply(
        xcb_dpms_get_timeouts_reply(x, xcb_dpms_get_timeouts(x), nullptr));
    if (!reply)
        return std::nullopt;
    int first = 0;
    for (const int timeout : {reply->standby_timeout, reply->suspend_timeout, reply->off_timeout})
        if (timeout > 0 && (first == 0 || timeout < first))
            first = timeout;
    if (first == 0)
        return std::nullopt;
    return std::chrono::seconds(first);
}

} // namespace ui::dpms
