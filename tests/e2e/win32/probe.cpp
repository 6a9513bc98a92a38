// The end-to-end script's eyes and hands inside the Wine prefix: starts the program as the
// display settings do and watches the windows it shows, answers its message boxes, and reads
// its settings and resources. It prints facts, one a line; the script judges them.
//
//   probe run [--hold-instance] [--answer TITLE] [--unquoted] [--close-after MS]
//             [--activate-after MS] TIMEOUT_MS PROGRAM ARGUMENTS
//       --unquoted          the program's path goes unquoted on its command line
//       --stay MS           the program's first window shown, it has MS more; then it is ended
//       --close-after MS    MS after its first window showed, posts WM_CLOSE to it, as the
//                           system does
//       --activate-after MS MS after its first window showed, a window of the probe's own
//                           takes the activation
//   probe find TITLE TIMEOUT_MS      waits for a shown window of that title; prints its place
//   probe inspect TITLE              the window and each of its controls, one a line
//   probe access TITLE               the same as a screen reader reads them through MSAA: role,
//                                    name and states of each, and the one with the focus
//   probe act TITLE STEP...          in order: click=TEXT (a button by its text), settext=TEXT
//                                    (the first edit box), press=X,Y (the button at that point
//                                    of the window's inner area, as a click there tells it)
//                                    key=tab|down|up|right|left|escape (the key, to the control
//                                    that has the focus)
//   probe close TITLE                posts WM_CLOSE, as the system asks a window to close
//   probe endsession TITLE           the end of the session, as the system tells a window when
//                                    the user logs off: WM_QUERYENDSESSION, then WM_ENDSESSION
//   probe pane WIDTH HEIGHT FILE     a window with an inner area of that size (a stand-in for
//                                    the display settings' pane): prints its handle, and
//                                    destroys it once FILE exists
//   probe desktop                    the desktop window's handle
//   probe screen                     the virtual screen, over every monitor
//   probe enabled HWND               whether the window takes input
//   probe child PANE                 the pane's child window: class, place, style, and whether
//                                    it is shown, active or has the focus
//   probe store [NAME=VALUE...]      the settings key holds exactly these texts afterwards
//   probe settings                   every value of the settings key
//   probe resources PROGRAM          the version block, name string and icon sizes
//   probe hold FILE image|exclusive SIGNAL
//                                    keeps FILE open until SIGNAL exists: as a running program
//                                    holds its own file (others may read and rename it, not
//                                    write it) or shared with readers only; prints "held"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <oleacc.h>
#include <set>
#include <string>
#include <string_view>
#include <vector>
#include <windows.h>

namespace {

constexpr const wchar_t* SettingsKey = L"Software\\Quillon\\Moondial";
constexpr const wchar_t* InstanceMarkName = L"Local\\Quillon.Moondial.Instance";

std::string Utf8(std::wstring_view wide) {
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

// Printable ASCII stays, everything else is escaped, so equal lines mean equal bytes.
std::string Escaped(std::wstring_view wide) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : Utf8(wide)) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c >= 0x20 && c < 0x7f) {
                out += static_cast<char>(c);
            } else {
                out += "\\x";
                out += digits[c >> 4];
                out += digits[c & 15];
            }
        }
    }
    return out;
}

std::string Quoted(std::wstring_view wide) {
    return '"' + Escaped(wide) + '"';
}

// Raw bytes: the C runtime's text mode would turn each line end into CR LF.
void Say(const std::string& line) {
    const std::string bytes = line + '\n';
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
              &written, nullptr);
}

int Fail(const std::string& why) {
    Say("probe: " + why);
    return 2;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

// Bounded, so that a hung program cannot hang the probe.
std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    text.resize(std::min<std::size_t>(copied, length));
    return text;
}

// ---- run ----------------------------------------------------------------------------------

struct Watch {
    DWORD processId = 0;
    HWND firstWindow = nullptr; // the first visible top-level window of the program
    ULONGLONG firstWindowAt = 0;
    std::wstring answerTitle; // empty: answer nothing
    std::set<HWND> known;     // reported or answered
    int created = 0;
    int answered = 0;
};

Watch watch;

// Wine raises no show events, but it does raise creation events, for every window of the
// program, hidden or shown, top-level or child: a count of zero means no window at all.
void CALLBACK OnCreate(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (window && object == OBJID_WINDOW)
        ++watch.created;
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool IsAnswerable(HWND window) {
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    return !watch.answerTitle.empty() && ClassOf(window) == L"#32770" && watch.answerTitle == title;
}

void Answer(HWND box) {
    ++watch.answered;
    Say("box " + Quoted(TextOf(GetDlgItem(box, 0xFFFF)))); // the message's static control
    HWND button = GetDlgItem(box, IDOK);
    if (!button)
        button = GetDlgItem(box, IDCANCEL);
    if (!button) {
        Say("box has neither an OK nor a Cancel button");
        return;
    }
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM list) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == watch.processId && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::string Rect(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right - r.left) + "," + std::to_string(r.bottom - r.top);
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> Children(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChildren, reinterpret_cast<LPARAM>(&children));
    return children;
}

// The window and each of its controls: class, text, place in the inner area, visibility,
// style and the bounds of its region.
void Dump(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    char styles[64];
    std::snprintf(styles, sizeof styles, "style=0x%08lx exstyle=0x%08lx",
                  static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
                  static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)));
    RECT outer{};
    GetWindowRect(window, &outer);
    const HWND owner = GetWindow(window, GW_OWNER);
    Say(owner ? "owner " + std::to_string(reinterpret_cast<std::uintptr_t>(owner)) +
                    (IsWindowEnabled(owner) ? " enabled" : " disabled")
              : std::string("owner none"));
    Say("window " + Quoted(TextOf(window)) + " at " + Rect(outer) + " client " +
        std::to_string(client.right) + "x" + std::to_string(client.bottom) + " " + styles);
    for (HWND child : Children(window)) {
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&place), 2);
        std::snprintf(styles, sizeof styles, "style=0x%08lx",
                      static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE)));
        std::string region = "none";
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        if (GetWindowRgn(child, shape) != ERROR) {
            RECT box{};
            GetRgnBox(shape, &box);
            region = Rect(box);
        }
        DeleteObject(shape);
        Say("control " + Escaped(ClassOf(child)) + " " + Quoted(TextOf(child)) + " " + Rect(place) +
            (IsWindowVisible(child) ? " visible " : " hidden ") + styles + " region=" + region);
    }
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) && thread.hwndFocus) {
        RECT place{};
        GetWindowRect(thread.hwndFocus, &place);
        MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&place), 2);
        Say("focus " + Escaped(ClassOf(thread.hwndFocus)) + " " + Quoted(TextOf(thread.hwndFocus)) +
            " " + Rect(place));
    }
}

// ---- what a screen reader reads --------------------------------------------------------

// A window's client object as MSAA gives it: "ROLE \"NAME\" STATE,...".
std::string Accessible(HWND window) {
    IAccessible* object = nullptr;
    // Not IID_IAccessible: mingw's import library gives that name to oleacc's export thunk.
    const HRESULT found =
        AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object));
    if (FAILED(found) || !object) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lx", static_cast<unsigned long>(found));
        return std::string("(none: ") + code + ")";
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring named;
    if (object->get_accName(self, &name) == S_OK && name)
        named.assign(name, SysStringLen(name));
    SysFreeString(name);
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    std::string said = "unknown";
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) {
        wchar_t text[64] = {};
        GetRoleTextW(static_cast<DWORD>(role.lVal), text, 64);
        said = Escaped(text);
    }
    said += " " + Quoted(named) + " ";
    std::string states;
    if (SUCCEEDED(object->get_accState(self, &state)) && state.vt == VT_I4) {
        static constexpr std::pair<LONG, const char*> known[] = {
            {STATE_SYSTEM_FOCUSABLE, "focusable"},
            {STATE_SYSTEM_FOCUSED, "focused"},
            {STATE_SYSTEM_INVISIBLE, "invisible"},
            {STATE_SYSTEM_UNAVAILABLE, "unavailable"}};
        for (const auto& [bit, word] : known)
            if (state.lVal & bit)
                states += (states.empty() ? "" : ",") + std::string(word);
    }
    VariantClear(&role);
    VariantClear(&state);
    object->Release();
    return said + (states.empty() ? "none" : states);
}

// The window, each control (class, the tab stop its style makes it, what MSAA reads), and the
// control with the focus.
void Access(HWND window) {
    Say("window " + Accessible(window));
    for (HWND child : Children(window)) {
        const bool stop = (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) != 0;
        Say("control " + Escaped(ClassOf(child)) + (stop ? " tabstop " : " no-tabstop ") +
            Accessible(child));
    }
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) && thread.hwndFocus)
        Say("focus " + Escaped(ClassOf(thread.hwndFocus)) + " " + Accessible(thread.hwndFocus));
}

void Act(HWND window, const std::wstring& step) {
    const auto equals = step.find(L'=');
    const std::wstring verb = step.substr(0, equals), what = step.substr(equals + 1);
    DWORD_PTR ignored = 0;
    for (HWND child : Children(window)) {
        if (verb == L"click" && TextOf(child) == what) {
            SendMessageTimeoutW(child, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
            Say("did " + Utf8(step));
            return;
        }
        if (verb == L"settext" && ClassOf(child) == L"Edit") {
            SendMessageTimeoutW(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(what.c_str()),
                                SMTO_ABORTIFHUNG, 5000, &ignored);
            Say("did " + Utf8(step));
            return;
        }
    }
    const struct {
        const wchar_t* name;
        WPARAM key;
    } keys[] = {{L"tab", VK_TAB},     {L"down", VK_DOWN}, {L"up", VK_UP},
                {L"right", VK_RIGHT}, {L"left", VK_LEFT}, {L"escape", VK_ESCAPE}};
    const auto key = std::find_if(std::begin(keys), std::end(keys),
                                  [&what](const auto& k) { return what == k.name; });
    if (verb == L"key" && key != std::end(keys)) {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        const HWND focus =
            GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) && thread.hwndFocus
                ? thread.hwndFocus
                : window;
        PostMessageW(focus, WM_KEYDOWN, key->key, 1);
        PostMessageW(focus, WM_KEYUP, key->key, 0xC0000001);
        Say("did " + Utf8(step));
        return;
    }
    if (verb == L"press") {
        POINT at{
            static_cast<LONG>(std::wcstol(what.c_str(), nullptr, 10)),
            static_cast<LONG>(std::wcstol(what.substr(what.find(L',') + 1).c_str(), nullptr, 10))};
        const HWND child = ChildWindowFromPointEx(window, at, CWP_SKIPINVISIBLE);
        if (child && child != window) {
            // What the button tells its window when clicked there.
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED),
                         reinterpret_cast<LPARAM>(child));
            Say("did " + Utf8(step) + " on " + Escaped(ClassOf(child)));
            return;
        }
    }
    Say("could not " + Utf8(step));
}

// Reports each visible top-level window of the program once, and answers the boxes asked for.
void LookAround() {
    std::vector<HWND> visible;
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&visible));
    for (HWND window : visible) {
        if (!watch.known.insert(window).second)
            continue;
        if (!watch.firstWindow) {
            watch.firstWindow = window;
            watch.firstWindowAt = GetTickCount64();
        }
        if (IsAnswerable(window))
            Answer(window);
        else
            Say("window " + Escaped(ClassOf(window)) + " " + Quoted(TextOf(window)));
    }
}

// Another program's window comes up and takes the activation, as a chat window might.
bool ActivateOwnWindow() {
    static HWND own = CreateWindowExW(0, L"STATIC", L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                                      100, 200, 100, nullptr, nullptr, nullptr, nullptr);
    return own && SetForegroundWindow(own) && GetForegroundWindow() == own;
}

int Run(int argc, wchar_t** argv) {
    bool holdInstance = false, unquoted = false;
    ULONGLONG closeAfter = 0, activateAfter = 0, stay = 0;
    int i = 0;
    for (; i < argc; ++i) {
        const std::wstring_view option = argv[i];
        if (option == L"--hold-instance") {
            holdInstance = true;
        } else if (option == L"--unquoted") {
            unquoted = true;
        } else if (option == L"--answer" && i + 1 < argc) {
            watch.answerTitle = argv[++i];
        } else if (option == L"--stay" && i + 1 < argc) {
            stay = std::wcstoul(argv[++i], nullptr, 10);
        } else if (option == L"--close-after" && i + 1 < argc) {
            closeAfter = std::wcstoul(argv[++i], nullptr, 10);
        } else if (option == L"--activate-after" && i + 1 < argc) {
            activateAfter = std::wcstoul(argv[++i], nullptr, 10);
        } else {
            break;
        }
    }
    if (argc - i != 3)
        return Fail("usage: run [options] TIMEOUT_MS PROGRAM ARGUMENTS");
    const DWORD timeout = static_cast<DWORD>(std::wcstoul(argv[i], nullptr, 10));
    const std::wstring program = argv[i + 1];
    const std::wstring arguments = argv[i + 2];

    // Another instance, as far as the program can tell, is whoever holds this mark.
    HANDLE mark = nullptr;
    if (holdInstance) {
        mark = CreateMutexW(nullptr, FALSE, InstanceMarkName);
        if (!mark || GetLastError() == ERROR_ALREADY_EXISTS)
            return Fail("could not take the instance mark");
    }

    // The quoted path and the arguments, as the display settings start a screen saver.
    std::wstring commandLine = unquoted ? program : L"\"" + program + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED, nullptr, nullptr, &startup, &process))
        return Fail("cannot start " + Utf8(program) + ": error " + std::to_string(GetLastError()));
    watch.processId = process.dwProcessId;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr,
                                         OnCreate, process.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
    ResumeThread(process.hThread);

    const ULONGLONG start = GetTickCount64();
    bool ended = false;
    for (;;) {
        const ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= timeout)
            break;
        const ULONGLONG shown = watch.firstWindow ? GetTickCount64() - watch.firstWindowAt : 0;
        if (stay && watch.firstWindow && shown >= stay)
            break;
        const DWORD wait = MsgWaitForMultipleObjects(
            1, &process.hProcess, FALSE, std::min<DWORD>(2, timeout - elapsed), QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) {
            ended = true;
            break;
        }
        Pump();
        LookAround();
        if (closeAfter && watch.firstWindow && shown >= closeAfter) {
            closeAfter = 0;
            Say(PostMessageW(watch.firstWindow, WM_CLOSE, 0, 0) ? "closed" : "close failed");
        }
        if (activateAfter && watch.firstWindow && shown >= activateAfter) {
            activateAfter = 0;
            Say(ActivateOwnWindow() ? "activated" : "activation failed");
        }
    }
    Pump(); // creation events raised just before the end
    if (hook)
        UnhookWinEvent(hook);

    const ULONGLONG elapsed = GetTickCount64() - start;
    if (ended) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        Say("exit " + std::to_string(code) + " after " + std::to_string(elapsed) + " ms");
    } else {
        Say("still running after " + std::to_string(elapsed) + " ms");
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    Say("answered " + std::to_string(watch.answered));
    Say(hook ? "created " + std::to_string(watch.created) : "created (not watched)");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (mark)
        CloseHandle(mark);
    return ended ? 0 : 1;
}

// ---- store and settings -------------------------------------------------------------------

int Store(int argc, wchar_t** argv) {
    const LONG deleted = RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey);
    if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND)
        return Fail("cannot delete the settings key: error " + std::to_string(deleted));
    if (argc == 0)
        return 0;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return Fail("cannot create the settings key");
    int result = 0;
    for (int i = 0; i < argc; ++i) {
        const std::wstring pair = argv[i];
        const auto equals = pair.find(L'=');
        if (equals == std::wstring::npos) {
            result = Fail("not NAME=VALUE: " + Utf8(pair));
            continue;
        }
        const std::wstring name = pair.substr(0, equals);
        const std::wstring value = pair.substr(equals + 1);
        if (RegSetValueExW(
                key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
            result = Fail("cannot store " + Utf8(name));
    }
    RegCloseKey(key);
    return result;
}

// One line a value, sorted, in the registry's export form; other kinds than text say so.
int Settings() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        Say("no key");
        return 0;
    }
    std::vector<std::string> lines;
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        DWORD type = 0;
        DWORD bytes = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS)
            break;
        std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
        nameLength = 16384;
        RegEnumValueW(key, i, name, &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(data.data()), &bytes);
        std::string line = Quoted(std::wstring_view(name, nameLength)) + "=";
        if (type == REG_SZ) {
            // The stored terminator is not part of the text; a missing one is no fault.
            std::wstring_view text(data.data(), bytes / sizeof(wchar_t));
            if (!text.empty() && text.back() == L'\0')
                text.remove_suffix(1);
            line += Quoted(text);
        } else {
            line += "type " + std::to_string(type) + ", " + std::to_string(bytes) + " bytes";
        }
        lines.push_back(line);
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        lines.push_back("subkey " + Quoted(std::wstring_view(name, nameLength)));
    }
    RegCloseKey(key);
    std::sort(lines.begin(), lines.end());
    for (const auto& line : lines)
        Say(line);
    return 0;
}

// ---- resources ----------------------------------------------------------------------------

#pragma pack(push, 2)
struct IconDirectoryEntry {
    BYTE width;
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
struct IconDirectory {
    WORD reserved;
    WORD type;
    WORD count;
    IconDirectoryEntry entries[1];
};
#pragma pack(pop)

// A text of the version block's first translation, quoted, or (none).
std::string VersionText(const std::vector<BYTE>& block, const std::wstring& name) {
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof *translation)
        return "(none)";
    wchar_t query[128];
    wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\%s", translation->language,
              translation->codePage, name.c_str());
    wchar_t* text = nullptr;
    if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&text), &length) || !text)
        return "(none)";
    return Quoted(std::wstring_view(text, length ? length - 1 : 0));
}

BOOL CALLBACK FirstIconGroup(HMODULE module, LPCWSTR, LPWSTR group, LONG_PTR found) {
    *reinterpret_cast<HRSRC*>(found) = FindResourceW(module, group, RT_GROUP_ICON);
    return FALSE;
}

int Resources(const std::wstring& path) {
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    if (block.empty() ||
        !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()))
        return Fail("no version block in " + Utf8(path));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof *fixed)
        Say("file-version (none)");
    else
        Say("file-version " + std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
            std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
            std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
            std::to_string(LOWORD(fixed->dwFileVersionLS)));
    Say("file-version-text " + VersionText(block, L"FileVersion"));
    Say("file-description " + VersionText(block, L"FileDescription"));
    Say("company " + VersionText(block, L"CompanyName") + " product " +
        VersionText(block, L"ProductName"));

    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return Fail("cannot load " + Utf8(path) + " as data");
    wchar_t name[256] = {};
    const int nameLength = LoadStringW(module, 1, name, 256);
    Say("string-1 " + (nameLength > 0 ? Quoted(std::wstring_view(name, nameLength)) : "(none)"));

    // Each image of the first icon group (the one the shell shows), and whether the system can
    // make an icon of it.
    std::string icons = "icon-1";
    HRSRC group = nullptr;
    EnumResourceNamesW(module, RT_GROUP_ICON, FirstIconGroup, reinterpret_cast<LONG_PTR>(&group));
    const auto* directory =
        group ? static_cast<const IconDirectory*>(LockResource(LoadResource(module, group)))
              : nullptr;
    if (!directory)
        icons += " (none)";
    for (WORD i = 0; directory && i < directory->count; ++i) {
        const IconDirectoryEntry& entry = directory->entries[i];
        const int width = entry.width ? entry.width : 256;
        const int height = entry.height ? entry.height : 256;
        icons += " " + std::to_string(width) + "x" + std::to_string(height);
        HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(entry.id), RT_ICON);
        void* bits = image ? LockResource(LoadResource(module, image)) : nullptr;
        HICON icon =
            bits ? CreateIconFromResourceEx(static_cast<BYTE*>(bits), SizeofResource(module, image),
                                            TRUE, 0x00030000, width, height, 0)
                 : nullptr;
        if (icon)
            DestroyIcon(icon);
        else
            icons += "(unusable)";
    }
    Say(icons);
    FreeLibrary(module);
    return 0;
}

// ---- a preview pane and what lives in it --------------------------------------------------

int Pane(int width, int height, const std::wstring& signal) {
    const HWND pane =
        CreateWindowExW(0, L"STATIC", L"moondial test pane", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                        100, 100, width, height, nullptr, nullptr, nullptr, nullptr);
    if (!pane)
        return Fail("cannot make the pane");
    RECT client{};
    GetClientRect(pane, &client);
    SetWindowPos(pane, nullptr, 0, 0, 2 * width - client.right, 2 * height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(pane, SW_SHOW);
    SetForegroundWindow(pane);
    Say(std::to_string(reinterpret_cast<std::uintptr_t>(pane)));
    while (GetFileAttributesW(signal.c_str()) == INVALID_FILE_ATTRIBUTES) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Pump();
    }
    DestroyWindow(pane);
    Say("destroyed");
    return 0;
}

int Child(HWND pane) {
    const HWND child = GetWindow(pane, GW_CHILD);
    if (!child)
        return Fail("the pane has no child");
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(HWND_DESKTOP, pane, reinterpret_cast<POINT*>(&place), 2);
    char style[32];
    std::snprintf(style, sizeof style, "style=0x%08lx",
                  static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE)));
    GUITHREADINFO own{}, front{};
    own.cbSize = front.cbSize = sizeof own;
    GetGUIThreadInfo(GetWindowThreadProcessId(child, nullptr), &own);
    GetGUIThreadInfo(0, &front); // the thread with the system's keyboard focus
    Say("child " + Escaped(ClassOf(child)) + " " + Rect(place) + " " + style +
        (IsWindowVisible(child) ? " visible" : " hidden") +
        (own.hwndActive == child ? " active" : " inactive") +
        (front.hwndFocus == child ? " has-the-focus" : " no-focus") +
        (GetForegroundWindow() == pane ? " pane-foreground" : " pane-background"));
    return 0;
}

// ---- a file in use --------------------------------------------------------------------------

int Hold(const std::wstring& path, std::wstring_view how, const std::wstring& signal) {
    const DWORD share = FILE_SHARE_READ | (how == L"image" ? FILE_SHARE_DELETE : 0);
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Fail("cannot open " + Utf8(path));
    Say("held");
    while (GetFileAttributesW(signal.c_str()) == INVALID_FILE_ATTRIBUTES)
        Sleep(50);
    CloseHandle(file);
    return 0;
}

// ---- windows of a running program, by their titles ---------------------------------------

HWND Shown(const std::wstring& title) {
    const HWND window = FindWindowW(nullptr, title.c_str());
    return window && IsWindowVisible(window) ? window : nullptr;
}

int Find(const std::wstring& title, DWORD timeout) {
    const ULONGLONG end = GetTickCount64() + timeout;
    for (;;) {
        if (const HWND window = Shown(title)) {
            RECT outer{};
            GetWindowRect(window, &outer);
            Say("at " + Rect(outer));
            return 0;
        }
        if (GetTickCount64() >= end)
            return Fail("no window " + Utf8(title) + " after " + std::to_string(timeout) + " ms");
        Sleep(50);
    }
}

int OnWindow(const std::wstring& title, int argc, wchar_t** argv,
             void (*what)(HWND, int, wchar_t**)) {
    const HWND window = Shown(title);
    if (!window)
        return Fail("no window " + Utf8(title));
    what(window, argc, argv);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    // Places and sizes as the system has them, not as it would show them to a program that
    // knows nothing of scales.
    SetProcessDPIAware();
    const std::wstring_view command = argc > 1 ? argv[1] : L"";
    if (command == L"run")
        return Run(argc - 2, argv + 2);
    if (command == L"store")
        return Store(argc - 2, argv + 2);
    if (command == L"settings" && argc == 2)
        return Settings();
    if (command == L"resources" && argc == 3)
        return Resources(argv[2]);
    if (command == L"hold" && argc == 5)
        return Hold(argv[2], argv[3], argv[4]);
    if (command == L"find" && argc == 4)
        return Find(argv[2], static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)));
    if (command == L"inspect" && argc == 3)
        return OnWindow(argv[2], 0, nullptr, [](HWND w, int, wchar_t**) { Dump(w); });
    if (command == L"access" && argc == 3) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const int result = OnWindow(argv[2], 0, nullptr, [](HWND w, int, wchar_t**) { Access(w); });
        CoUninitialize();
        return result;
    }
    if (command == L"act" && argc >= 4)
        return OnWindow(argv[2], argc - 3, argv + 3, [](HWND w, int n, wchar_t** steps) {
            for (int i = 0; i < n; ++i)
                Act(w, steps[i]);
        });
    if (command == L"pane" && argc == 5)
        return Pane(static_cast<int>(std::wcstol(argv[2], nullptr, 10)),
                    static_cast<int>(std::wcstol(argv[3], nullptr, 10)), argv[4]);
    if (command == L"enabled" && argc == 3) {
        const HWND window = reinterpret_cast<HWND>(
            static_cast<std::uintptr_t>(std::wcstoull(argv[2], nullptr, 10)));
        Say(IsWindowEnabled(window) ? "enabled" : "disabled");
        return 0;
    }
    if (command == L"screen" && argc == 2) { // the virtual screen, over every monitor
        RECT r{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
        r.right = r.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
        r.bottom = r.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
        Say("virtual screen " + Rect(r));
        return 0;
    }
    if (command == L"desktop" && argc == 2) {
        Say(std::to_string(reinterpret_cast<std::uintptr_t>(GetDesktopWindow())));
        return 0;
    }
    if (command == L"child" && argc == 3)
        return Child(reinterpret_cast<HWND>(
            static_cast<std::uintptr_t>(std::wcstoull(argv[2], nullptr, 10))));
    if (command == L"close" && argc == 3)
        return OnWindow(argv[2], 0, nullptr, [](HWND w, int, wchar_t**) {
            Say(PostMessageW(w, WM_CLOSE, 0, 0) ? "closed" : "close failed");
        });
    if (command == L"endsession" && argc == 3)
        return OnWindow(argv[2], 0, nullptr, [](HWND w, int, wchar_t**) {
            DWORD_PTR agrees = 0, ignored = 0;
            if (!SendMessageTimeoutW(w, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                                     5000, &agrees))
                agrees = 0;
            Say(agrees ? "it lets the session end" : "it holds the session");
            // The program may end before it answers this one.
            SendMessageTimeoutW(w, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                                &ignored);
            Say("session ended");
        });
    return Fail("usage: probe run|store|settings|resources|hold|find|inspect|access|act|close|"
                "endsession|pane|child ...");
}
