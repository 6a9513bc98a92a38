#include "startup/HackOptions.h"

#include "ui/Convert.h"
#include "ui/Error.h"

#include <cerrno>
#include <cstdlib>

namespace modMain {

namespace {

// Decimal, or hexadecimal after 0x, the whole text and 32 bits wide.
std::optional<std::uint32_t> WindowNumber(const std::string& text) {
    if (text.empty() || text.front() == '-' || text.front() == '+' || text.front() == ' ')
        return std::nullopt;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), &end, hex ? 16 : 10);
    if (errno || *end || end == text.c_str() || value > 0xFFFFFFFFu)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

// "--name" and the classic "-name" alike.
std::string OptionName(const std::string& argument) {
    return argument.rfind("--", 0) == 0 ? argument.substr(2) : argument.substr(1);
}

} // namespace

std::optional<HackOptions> ParseHackOptions(const std::vector<std::string>& arguments,
                                            std::string& error) {
    if (arguments.empty() || arguments.front().size() < 2 || arguments.front()[0] != '-')
        return std::nullopt;
    HackOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::string name =
            argument.size() > 1 && argument[0] == '-' ? OptionName(argument) : std::string();
        const auto value = [&]() -> const std::string* {
            if (i + 1 < arguments.size())
                return &arguments[++i];
            error = argument + " needs a value";
            return nullptr;
        };
        if (name == "root") {
            options.Root = true;
        } else if (name == "window-id") {
            const std::string* text = value();
            if (!text)
                return HackOptions{}; // with the error said
            options.WindowId = WindowNumber(*text);
            if (!options.WindowId)
                error = "--window-id takes a window number, decimal or 0x hex, not " + *text;
        } else if (name == "type") {
            const std::string* text = value();
            if (!text)
                return HackOptions{};
            try {
                options.SaverType = ui::ToInt32(*text);
            } catch (const ui::Error&) {
            }
            // Any other number would draw nothing at all.
            if (!options.SaverType || *options.SaverType < 1 || *options.SaverType > 4)
                error = "--type takes a saver type from 1 to 4, not " + *text;
        } else if (name == "picture") {
            const std::string* text = value();
            if (!text)
                return HackOptions{};
            options.Picture = *text;
        } else {
            error = "unknown option " + argument;
        }
        if (!error.empty())
            return options;
    }
    return options;
}

std::optional<std::uint32_t> HackWindow(const HackOptions& options, const char* daemonWindow,
                                        std::uint32_t desktop) {
    if (options.WindowId)
        return options.WindowId;
    if (daemonWindow && *daemonWindow)
        if (const auto named = WindowNumber(daemonWindow))
            return named;
    if (options.Root)
        return desktop;
    return std::nullopt;
}

} // namespace modMain
