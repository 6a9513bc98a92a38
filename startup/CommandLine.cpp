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

namespace {

// Blanks around decimal digits whose value fits in 32 bits without a sign.
std::optional<std::uint32_t> UnsignedHandle(std::string_view text) {
    text = ui::TrimBlanks(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return text.empty() ? std::nullopt : std::optional<std::uint32_t>(value);
}

} // namespace

std::optional<std::int32_t> PreviewWindowNumber(std::string_view arguments) {
    std::size_t start = std::min<std::size_t>(2, arguments.size());
    if (start < arguments.size()) {
        ++start; // the separator, which may be a character of several UTF-8 bytes
        while (start < arguments.size() && (arguments[start] & 0xC0) == 0x80)
            ++start;
    }
    const std::string_view number = arguments.substr(start);
    try {
        return ui::ToInt32(number);
    } catch (const ui::Error& failure) {
        // A handle printed as an unsigned number is the same 32 bits.
        if (failure.Number == ui::errors::Overflow && number.find('-') == std::string_view::npos)
            if (const auto wide = UnsignedHandle(number))
                return static_cast<std::int32_t>(*wide);
        return std::nullopt;
    }
}

} // namespace modMain
