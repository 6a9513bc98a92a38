#pragma once
// The text of the per-user settings file, in the INI form Qt's settings use: values live in the
// [General] section, keys escape blanks as %20, values that need it are quoted with C escapes.
// Read as Qt's own reader reads a file a person edited (a byte-order mark skipped, ";" comments,
// section names in any case), except that a value is never split at commas or taken as a typed
// value: it comes back exactly as written, and a write changes only its own line.

#include <optional>
#include <string>
#include <string_view>

namespace ui::ini {

// The last value of key in the [General] section; nothing when there is none.
std::optional<std::string> Find(std::string_view text, std::string_view key);

// The text with key set to value: its line replaced, or added at the end of [General] (made
// first if missing). Other lines of the same key are dropped; every other byte stays as it was.
std::string WithValue(std::string_view text, std::string_view key, std::string_view value);

// One value as it is written after the "=", and read back.
std::string EscapedValue(std::string_view value);
std::string UnescapedValue(std::string_view written);

} // namespace ui::ini
