#include "startup/CommandLine.h"

#include "ui/Convert.h"
#include "ui/Error.h"

#include <algorithm>

namespace modMain {

Mode ModeOf(std::string_view arguments) {
    if (arguments.empty())
        return Mode::Setup;
    const std::string mode = ui::ToLowerAscii(arguments.substr(0, 2));
    if (mode == "/c")
        return Mode::Setup;
    if (mode == "/s")
        return Mode::Saver;
    if (mode == "/p")
        return Mode::Preview;
    return Mode::None;
}

std::optional<std::int32_t> PreviewWindowNumber(std::string_view arguments) {
    std::size_t start = std::min<std::size_t>(2, arguments.size());
    if (start < arguments.size()) {
        ++start; // the separator, which may be a character of several UTF-8 bytes
        while (start < arguments.size() && (arguments[start] & 0xC0) == 0x80)
            ++start;
    }
    try {
        return ui::ToInt32(arguments.substr(start));
    } catch (const ui::Error&) {
        return std::nullopt;
    }
}

} // namespace modMain
