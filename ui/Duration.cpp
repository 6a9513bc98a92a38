#include "ui/Duration.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>

namespace ui {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::optional<std::chrono::milliseconds> ParseDuration(std::string_view text) {
    using namespace std::chrono;
    long long count = 0;
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, count);
    if (error != std::errc() || rest == text.data())
        return std::nullopt;
    const std::string unit = Lower(std::string(rest, end));
    seconds perUnit{};
    if (unit.empty() || unit == "m")
        perUnit = minutes(1);
    else if (unit == "s")
        perUnit = seconds(1);
    else if (unit == "h")
        perUnit = hours(1);
    else
        return std::nullopt;
    // Checked before multiplying, so a huge count cannot wrap round into range.
    if (count < 1 || count > hours(24) / perUnit)
        return std::nullopt;
    return duration_cast<milliseconds>(perUnit * count);
}

} // namespace ui
