#pragma once
// A program file's version block, read as the system reads it.

#include "ui/Application.h"

#include <optional>
#include <string>
#include <vector>

namespace ui::win32 {

class VersionInfo {
public:
    explicit VersionInfo(const std::wstring& path); // empty where the file has none
    // Its file version; none without a block.
    std::optional<app::Version> FileVersion() const;
    // A text of its first translation: "FileDescription", "ProductName"; empty where missing.
    std::string Text(const wchar_t* name) const;

private:
    std::vector<unsigned char> block_;
};

} // namespace ui::win32
