#include "ui/qt/check/XScreenSaver.h"

#include "ui/qt/idle/DesktopDelays.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cctype>
#include <sstream>

namespace ui::check {

namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "0:10:00", "10:00" or "10" (minutes).
std::optional<std::chrono::seconds> Time(const std::string& text) {
    std::vector<long> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, ':');) {
        try {
            parts.push_back(std::stol(part));
        } catch (...) {
            return std::nullopt;
        }
    }
    if (parts.empty() || parts.size() > 3)
        return std::nullopt;
    if (parts.size() == 1)
        return std::chrono::minutes(parts[0]);
    long seconds = 0;
    for (const long part : parts)
        seconds = seconds * 60 + part;
    return std::chrono::seconds(seconds);
}

} // namespace

XScreenSaverChoice ParseXScreenSaverChoice(const std::string& text) {
    // A value goes on over lines that end with a backslash.
    std::string joined;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\\' && at + 1 < text.size() && text[at + 1] == '\n')
            ++at;
        else
            joined += text[at];
    }
    XScreenSaverChoice choice;
    std::stringstream lines(joined);
    for (std::string line; std::getline(lines, line);) {
        const auto colon = line.find(':');
        if (line.empty() || line[0] == '#' || line[0] == '!' || colon == std::string::npos)
            continue;
        std::string key = Lower(Trimmed(line.substr(0, colon)));
        for (const char* prefix : {"*", "xscreensaver."})
            if (key.rfind(prefix, 0) == 0)
                key = key.substr(std::string(prefix).size());
        const std::string value = Trimmed(line.substr(colon + 1));
        if (key == "timeout") {
            if (const auto time = Time(value))
                choice.timeout = *time;
        } else if (key == "mode") {
            choice.mode = Lower(value);
        } else if (key == "selected") {
            try {
                choice.selected = std::stoi(value);
            } catch (...) {
            }
        } else if (key == "programs") {
            // One hack a "\n"; a "-" before one switches it off.
            int index = 0;
            for (std::size_t from = 0; from <= value.size(); ++index) {
                auto end = value.find("\\n", from);
                if (end == std::string::npos)
                    end = value.size();
                const std::string entry = Trimmed(value.substr(from, end - from));
                from = end + 2;
                if (entry.empty()) {
                    --index;
                    continue;
                }
                if (!choice.moondial && Lower(entry).find("moondial") != std::string::npos) {
                    choice.moondial = index;
                    choice.moondialSwitchedOn = entry[0] != '-';
                }
            }
        }
    }
    return choice;
}

XScreenSaverChoice ReadXScreenSaverChoice() {
    for (const QString& path : {QDir::home().filePath(QStringLiteral(".xscreensaver")),
                                QStringLiteral("/etc/X11/app-defaults/XScreenSaver")}) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            return ParseXScreenSaverChoice(file.readAll().toStdString());
    }
    return {};
}

XScreenSaverVerdict Judge(const XScreenSaverChoice& choice) {
    const std::string after = " after " + idle::Described(choice.timeout);
    const std::string choose = "choose Moondial in xscreensaver-settings";
    if (!choice.moondial)
        return {{Verdict::Problem, "XScreenSaver runs, but its programs list names no Moondial",
                 "add the line  \"Moondial\"  moondial --root \\n\\  to programs: in "
                 "~/.xscreensaver, then " +
                     choose},
                false};
    if (choice.mode == "off" || choice.mode == "blank")
        return {{Verdict::Problem,
                 "XScreenSaver runs, set to " +
                     std::string(choice.mode == "off" ? "do nothing" : "blank the screen only"),
                 choose + " (Mode: Only One Screen Saver)"},
                false};
    if (!choice.moondialSwitchedOn)
        return {{Verdict::Problem, "XScreenSaver runs, but Moondial is switched off in its list",
                 choose},
                false};
    if (choice.mode == "one") {
        if (choice.selected == *choice.moondial)
            return {{Verdict::Ok, "XScreenSaver runs and shows Moondial" + after, {}}, true};
        return {{Verdict::Problem, "XScreenSaver runs, but shows another of its hacks", choose},
                false};
    }
    return {
        {Verdict::Note,
         "XScreenSaver runs and shows one of its hacks at random" + after + ", Moondial among them",
         {}},
        true};
}

} // namespace ui::check
