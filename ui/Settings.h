#pragma once
// The per-user settings store: named text values under a key of the per-user root.
// Windows keeps them in the registry, Linux in Qt's per-user settings file.

#include <cstdint>
#include <optional>
#include <string>

namespace ui::settings {

// The per-user root, as the registry numbers it.
constexpr std::int32_t CurrentUser = static_cast<std::int32_t>(0x80000001u);

// The stored text, or nothing when the value does not exist. Fails with an Error whose number,
// source and description say what went wrong when the store cannot be read.
std::optional<std::string> ReadValue(std::int32_t root, const std::string& keyPath,
                                     const std::string& name);

// Stores the text, creating the key if needed; it is on disk when the call returns.
void WriteValue(std::int32_t root, const std::string& keyPath, const std::string& name,
                const std::string& value);

} // namespace ui::settings
