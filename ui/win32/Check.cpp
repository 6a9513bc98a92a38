// The check on Windows: the chosen saver, its timeout, the organisation's policies over them and
// the power plan's times, then the program's own findings; on the standard output where the
// program was given one (moondial.scr /d > report.txt), else its console's, else a message box.

#include "ui/Check.h"

#include "ui/Outside.h"
#include "ui/Settings.h"
#include "ui/win32/CommandLine.h"
#include "ui/win32/SystemLibrary.h"
#include "ui/win32/Text.h"
#include "ui/win32/VersionInfo.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <windows.h>

namespace ui::check {

namespace {

using std::chrono::seconds;

constexpr const char* DesktopKey = "Control Panel\\Desktop";
constexpr const char* PolicyKey = "Software\\Policies\\Microsoft\\Windows\\Control Panel\\Desktop";
constexpr const char* ChooseIt =
    "choose Moondial in the screen saver settings (control desk.cpl,,@screensaver)";

std::optional<std::string> Read(const char* key, const char* name) {
    try {
        return settings::ReadValue(settings::CurrentUser, key, name);
    } catch (const std::exception&) {
        return std::nullopt; // of another type, or unreadable: as good as none
    }
}

std::optional<long> Number(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    try {
        return std::stol(*text);
    } catch (...) {
        return std::nullopt;
    }
}

std::string Minutes(seconds time) {
    const auto count = time.count();
    return count % 60 == 0 ? std::to_string(count / 60) + " min" : std::to_string(count) + " s";
}

// The same file, whatever the case or the short names it is written with.
std::wstring LongPath(const std::wstring& path) {
    wchar_t expanded[MAX_PATH * 2];
    if (!ExpandEnvironmentStringsW(path.c_str(), expanded, MAX_PATH * 2))
        return path;
    wchar_t full[MAX_PATH * 2];
    const DWORD length = GetLongPathNameW(expanded, full, MAX_PATH * 2);
    std::wstring result = length && length < MAX_PATH * 2 ? full : expanded;
    CharLowerBuffW(result.data(), static_cast<DWORD>(result.size()));
    return result;
}

Finding ChosenSaver(const std::optional<std::string>& chosen, bool byPolicy) {
    const std::string who = byPolicy ? "your organisation's policy" : "you";
    const std::string fix = byPolicy ? "ask your administrator" : ChooseIt;
    if (!chosen || chosen->empty())
        return {Verdict::Problem, "no screen saver is chosen", ChooseIt};
    const std::wstring path = LongPath(win32::Wide(*chosen));
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return {Verdict::Problem,
                "the screen saver " + who + " chose, " + *chosen + ", does not exist", fix};
    if (path == LongPath(win32::ModulePath()))
        return {Verdict::Ok,
                "this Moondial is the screen saver " + who + " chose (" + *chosen + ")",
                {}};
    const win32::VersionInfo version(path);
    if (version.Text(L"ProductName") == "Moondial") {
        const auto number = version.FileVersion().value_or(app::Version{});
        return {Verdict::Note,
                "the screen saver " + who + " chose is another copy of Moondial, version " +
                    std::to_string(number.Major) + "." + std::to_string(number.Minor) + "." +
                    std::to_string(number.Revision) + ", at " + *chosen,
                {}};
    }
    return {Verdict::Problem, "the screen saver " + who + " chose is another one: " + *chosen, fix};
}

// The copies the display settings list, and which of them this is.
Finding Copies() {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    std::string text = "the display settings list the savers in " + win32::Utf8(system);
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring native = std::wstring(windows) + L"\\Sysnative\\moondial.scr";
    const std::wstring folder32 = std::wstring(windows) + L"\\SysWOW64\\moondial.scr";
    const auto has = [](const std::wstring& file) {
        return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
#ifdef _WIN64
    const bool is64 = true;
#else
    const bool is64 = false;
#endif
    if (is64 || wow64) {
        const bool has64 = is64 ? has(std::wstring(system) + L"\\moondial.scr") : has(native);
        text += std::string("; the 64-bit Moondial is ") + (has64 ? "there" : "not installed") +
                ", the 32-bit one " + (has(folder32) ? "in SysWOW64" : "not installed");
    }
    text += "; this one runs from " + win32::Utf8(win32::ModulePath());
    return {Verdict::Note, text, {}};
}

// The active power plan's display-off and sleep times, plugged in and on battery; through
// powrprof.dll from the system folder, which may be missing or refuse.
struct PowerTimes {
    std::optional<seconds> displayOff[2], sleep[2]; // [0] plugged in, [1] on battery
};

PowerTimes ReadPowerTimes() {
    using Active = DWORD(WINAPI*)(HKEY, GUID**);
    using ReadIndex = DWORD(WINAPI*)(HKEY, const GUID*, const GUID*, const GUID*, DWORD*);
    const auto active = win32::SystemFunction<Active>(L"powrprof.dll", "PowerGetActiveScheme");
    const ReadIndex reads[2] = {
        win32::SystemFunction<ReadIndex>(L"powrprof.dll", "PowerReadACValueIndex"),
        win32::SystemFunction<ReadIndex>(L"powrprof.dll", "PowerReadDCValueIndex")};
    PowerTimes times;
    GUID* scheme = nullptr;
    if (!active || !reads[0] || !reads[1] || active(nullptr, &scheme) != ERROR_SUCCESS)
        return times;
    static constexpr GUID Video = {
        0x7516b95f, 0xf776, 0x4464, {0x8c, 0x53, 0x06, 0x16, 0x7f, 0x40, 0xcc, 0x99}};
    static constexpr GUID VideoOff = {
        0x3c0bc021, 0xc8a8, 0x4e07, {0xa9, 0x73, 0x6b, 0x14, 0xcb, 0xcb, 0x2b, 0x7e}};
    static constexpr GUID Sleep = {
        0x238c9fa8, 0x0aad, 0x41ed, {0x83, 0xf4, 0x97, 0xbe, 0x24, 0x2c, 0x8f, 0x20}};
    static constexpr GUID Standby = {
        0x29f6c1db, 0x86da, 0x48c5, {0x9f, 0xdb, 0xf2, 0xb6, 0x7b, 0x1f, 0x44, 0xda}};
    for (int source = 0; source < 2; ++source) {
        DWORD value = 0;
        if (reads[source](nullptr, scheme, &Video, &VideoOff, &value) == ERROR_SUCCESS && value)
            times.displayOff[source] = seconds(value);
        if (reads[source](nullptr, scheme, &Sleep, &Standby, &value) == ERROR_SUCCESS && value)
            times.sleep[source] = seconds(value);
    }
    LocalFree(scheme);
    return times;
}

Findings Power(std::optional<seconds> saver) {
    Findings findings;
    const PowerTimes times = ReadPowerTimes();
    static const char* const sources[] = {"plugged in", "on battery"};
    for (int source = 0; source < 2; ++source) {
        const auto earlier = [&](const std::optional<seconds>& time, const char* what,
                                 const char* setting) {
            if (saver && time && *time <= *saver)
                findings.push_back({Verdict::Problem,
                                    std::string("the power plan ") + what + " after " +
                                        Minutes(*time) + " " + sources[source] +
                                        ", before Moondial's " + Minutes(*saver),
                                    std::string("set ") + setting + " (" + sources[source] +
                                        ") in the power settings longer than " + Minutes(*saver)});
        };
        earlier(times.displayOff[source], "turns the display off", "\"Turn off my screen\"");
        earlier(times.sleep[source], "puts the computer to sleep", "\"Put my device to sleep\"");
    }
    return findings;
}

Findings Session() {
    Findings findings;
    const auto policyActive = Read(PolicyKey, "ScreenSaveActive");
    const auto policySaver = Read(PolicyKey, "SCRNSAVE.EXE");
    const auto policyTimeout = Read(PolicyKey, "ScreenSaveTimeOut");
    const auto policySecure = Read(PolicyKey, "ScreenSaverIsSecure");

    findings.push_back(policySaver ? ChosenSaver(policySaver, true)
                                   : ChosenSaver(Read(DesktopKey, "SCRNSAVE.EXE"), false));
    findings.push_back(Copies());

    const auto active = policyActive ? policyActive : Read(DesktopKey, "ScreenSaveActive");
    if (active && *active == "0")
        findings.push_back({Verdict::Problem,
                            policyActive ? "your organisation's policy switches screen savers off"
                                         : "screen savers are switched off (ScreenSaveActive 0)",
                            policyActive ? "ask your administrator" : ChooseIt});
    const auto timeout =
        Number(policyTimeout ? policyTimeout : Read(DesktopKey, "ScreenSaveTimeOut"));
    std::optional<seconds> saver;
    if (timeout && *timeout > 0) {
        saver = seconds(*timeout);
        findings.push_back({Verdict::Ok,
                            "the saver starts after " + Minutes(*saver) + " without input" +
                                (policyTimeout ? ", as your organisation's policy sets it" : ""),
                            {}});
    } else {
        findings.push_back({Verdict::Problem, "no screen saver timeout is set (ScreenSaveTimeOut)",
                            "set \"Wait\" in the screen saver settings"});
    }
    if (policySecure)
        findings.push_back({Verdict::Note,
                            std::string("your organisation's policy ") +
                                (*policySecure == "1" ? "locks" : "does not lock") +
                                " the computer when the saver ends (ScreenSaverIsSecure)",
                            {}});
    const Findings power = Power(saver);
    findings.insert(findings.end(), power.begin(), power.end());
    findings.push_back({Verdict::Note,
                        "a program may keep the display awake (a film, a presentation); "
                        "\"powercfg /requests\", run as an administrator, names it",
                        {}});
    return findings;
}

void Say(const std::string& report, bool problem) {
    std::string text;
    for (const char c : report)
        text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const DWORD type = out && out != INVALID_HANDLE_VALUE ? GetFileType(out) : FILE_TYPE_UNKNOWN;
    DWORD written = 0;
    if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr);
        if (console != INVALID_HANDLE_VALUE) {
            const std::wstring wide = win32::Wide(text);
            WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
            CloseHandle(console);
            return;
        }
    }
    constexpr int Exclamation = 48, Information = 64;
    World().ShowMessage(report, problem ? Exclamation : Information, "Moondial - Check");
}

} // namespace

int Run(int, char**, const std::function<Findings()>& own) {
    Findings findings = Session();
    const Findings stored = own();
    findings.insert(findings.end(), stored.begin(), stored.end());
    const int status = ExitStatus(findings);
    Say(Report(findings), status != 0);
    return status;
}

} // namespace ui::check
