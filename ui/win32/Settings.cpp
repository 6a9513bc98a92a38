#include "ui/Settings.h"

#include "ui/Error.h"
#include "ui/win32/Text.h"

#include <vector>
#include <windows.h>

namespace ui::settings {

namespace {

constexpr const char* Source = "Registry";

class RegKey {
public:
    RegKey() = default;
    ~RegKey() {
        if (key_)
            RegCloseKey(key_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// Predefined roots are negative 32-bit numbers, sign-extended into a handle.
HKEY Root(std::int32_t root) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(root));
}

[[noreturn]] void Fail(LONG code, const std::string& keyPath, const std::string& name) {
    throw Error(static_cast<std::int32_t>(code),
                win32::SystemMessage(static_cast<unsigned long>(code)) + " (" + keyPath + ", " +
                    name + ")",
                Source);
}

} // namespace

std::optional<std::string> ReadValue(std::int32_t root, const std::string& keyPath,
                                     const std::string& name) {
    RegKey key;
    LONG status =
        RegOpenKeyExW(Root(root), win32::Wide(keyPath).c_str(), 0, KEY_QUERY_VALUE, key.Out());
    if (status == ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    if (status != ERROR_SUCCESS)
        Fail(status, keyPath, name);

    const std::wstring valueName = win32::Wide(name);
    std::vector<wchar_t> data(64);
    for (;;) {
        DWORD type = 0;
        DWORD bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &bytes);
        if (status == ERROR_MORE_DATA) {
            data.resize(bytes / sizeof(wchar_t) + 2);
            continue;
        }
        if (status == ERROR_FILE_NOT_FOUND)
            return std::nullopt;
        if (status != ERROR_SUCCESS)
            Fail(status, keyPath, name);
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            Fail(ERROR_UNSUPPORTED_TYPE, keyPath, name);
        // The stored text need not end in a terminator; stop at the first one if it does.
        std::wstring_view text(data.data(), bytes / sizeof(wchar_t));
        text = text.substr(0, text.find(L'\0'));
        return win32::Utf8(text);
    }
}

void WriteValue(std::int32_t root, const std::string& keyPath, const std::string& name,
                const std::string& value) {
    RegKey key;
    LONG status = RegCreateKeyExW(Root(root), win32::Wide(keyPath).c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, key.Out(), nullptr);
    if (status != ERROR_SUCCESS)
        Fail(status, keyPath, name);
    const std::wstring text = win32::Wide(value);
    status = RegSetValueExW(key.Get(), win32::Wide(name).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS)
        Fail(status, keyPath, name);
}

} // namespace ui::settings
