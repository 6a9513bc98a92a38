#include "startup/Check.h"

#include "startup/modMain.h"
#include "ui/Check.h"
#include "ui/Convert.h"
#include "ui/Error.h"
#include "ui/Picture.h"
#include "ui/Settings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace modMain {

namespace {

using ui::check::Finding;
using ui::check::Findings;
using ui::check::Verdict;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

constexpr const char* ChooseAgain = "choose a picture in the settings (moondial /c)";

// The custom picture as the saver would load it: a warning shows in its place when it fails.
Finding CustomPicture() {
    const auto stored = ui::settings::ReadValue(HKeyCurrentUser, SettingsKey, CustomPathValue);
    const std::string path = stored.value_or(CustomPathDefault);
    const std::string named = "the custom picture \"" + path + "\"";
    try {
        if (path.empty())
            throw ui::Error(ui::errors::FileNotFound, "File not found");
        const ui::Picture picture = ui::LoadPicture(path);
        return {Verdict::Ok,
                named + " (" + std::to_string(picture.WidthPixels()) + " x " +
                    std::to_string(picture.HeightPixels()) + ")",
                {}};
    } catch (const ui::Error& failure) {
        if (failure.Number == ui::errors::FileNotFound ||
            failure.Number == ui::errors::PathNotFound)
            return {Verdict::Problem,
                    named + " is missing: the saver shows \"Custom graphic image is missing.\"",
                    "choose a picture that exists in the settings (moondial /c)"};
        if (failure.Number == ui::errors::InvalidPicture)
            return {Verdict::Problem,
                    named +
                        " does not decode as a BMP, GIF or JPEG: the saver shows \"Custom graphic "
                        "image is corrupt.\"",
                    ChooseAgain};
        return {Verdict::Problem, named + " cannot be read: " + failure.Description, ChooseAgain};
    }
}

// The stored choice, read as the saver reads it, never written.
Findings StoredChoice() {
    Findings findings;
    std::optional<std::string> stored;
    try {
        stored = ui::settings::ReadValue(HKeyCurrentUser, SettingsKey, SaverTypeValue);
    } catch (const ui::Error& failure) {
        return {{Verdict::Problem, "the settings cannot be read: " + failure.Description,
                 "see that your settings file (or registry key) can be read"}};
    }
    const std::string text = stored.value_or(SaverTypeDefault);
    std::int32_t type = 0;
    try {
        type = ui::ToInt32(text);
    } catch (const ui::Error&) {
        return {{Verdict::Problem,
                 "the stored \"" + std::string(SaverTypeValue) + "\" is \"" + text +
                     "\", not a number: the saver stops with an error message",
                 ChooseAgain}};
    }
    static const char* const names[] = {"the analog clock", "the lips clock", "the alarm clock",
                                        "a custom picture"};
    if (type < 1 || type > 4)
        return {{Verdict::Problem,
                 "the stored \"" + std::string(SaverTypeValue) + "\" is " + text +
                     ": the saver shows only black",
                 ChooseAgain}};
    findings.push_back({Verdict::Ok,
                        std::string("the chosen picture: ") + names[type - 1] +
                            (stored ? "" : " (nothing stored yet)"),
                        {}});
    if (type == 4)
        findings.push_back(CustomPicture());
    return findings;
}

} // namespace

bool AsksForCheck(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return false;
    const std::string first = Lower(arguments.front());
    return first == "--check" || first == "/d";
}

int CheckMachine(int argc, char** argv, const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) {
        std::fputs("moondial: --check takes nothing more\n", stderr);
        return 2;
    }
    return ui::check::Run(argc, argv, StoredChoice);
}

} // namespace modMain
