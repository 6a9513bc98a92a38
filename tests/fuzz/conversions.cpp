// Every conversion the program makes of stored text: numbers, Booleans, trimmed paths, and the
// Linux settings file's own escaping, which must give back any text it was given.

#include "ui/Convert.h"
#include "ui/Error.h"
#include "ui/qt/IniText.h"

#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const std::int32_t number = ui::ToInt32(text);
        Check(ui::ToInt32(ui::ToText(number)) == number);
    } catch (const ui::Error& e) {
        Check(e.Number == ui::errors::TypeMismatch || e.Number == ui::errors::Overflow);
    }
    try {
        const bool flag = ui::ToBoolean(text);
        Check(ui::ToBoolean(flag ? "True" : "False") == flag);
    } catch (const ui::Error& e) {
        Check(e.Number == ui::errors::TypeMismatch);
    }
    const std::string_view trimmed = ui::TrimBlanks(text);
    Check(trimmed.empty() || (trimmed.front() != ' ' && trimmed.back() != ' '));
    Check(ui::ToLowerAscii(text).size() == text.size());

    // A value written into the settings file, hand-edited text around it, reads back as is.
    Check(ui::ini::UnescapedValue(ui::ini::EscapedValue(text)) == text);
    const std::string file = ui::ini::WithValue(text, "Custom Graphic Path", "a, b");
    Check(ui::ini::Find(file, "Custom Graphic Path") == std::optional<std::string>("a, b"));
    const std::string again = ui::ini::WithValue(file, "Preview", text);
    Check(ui::ini::Find(again, "Preview") == std::optional<std::string>(text));
    Check(ui::ini::Find(again, "Custom Graphic Path") == std::optional<std::string>("a, b"));
    return 0;
}
