// The command line as Windows gives it: the program's own path, however it is written.

#include "ui/win32/CommandLine.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using ui::win32::ArgumentsAfterProgram;

TEST(Win32CommandLine, TheProgramsOwnPathIsSkippedExactly) {
    const std::wstring path = L"C:\\Program Files\\Quillon\\moondial.scr";
    EXPECT_EQ(ArgumentsAfterProgram(L"\"C:\\Program Files\\Quillon\\moondial.scr\" /s", path),
              L"/s");
    // Unquoted with blanks, as some launchers pass it, in any case.
    EXPECT_EQ(ArgumentsAfterProgram(L"C:\\Program Files\\Quillon\\moondial.scr /p 4711", path),
              L"/p 4711");
    EXPECT_EQ(ArgumentsAfterProgram(L"c:\\PROGRAM FILES\\quillon\\MOONDIAL.SCR\t/c:12", path),
              L"/c:12");
    EXPECT_EQ(ArgumentsAfterProgram(L"C:\\Program Files\\Quillon\\moondial.scr", path), L"");
    // Another form of the path: its first word, as before.
    EXPECT_EQ(ArgumentsAfterProgram(L"moondial.scr  /S", path), L"/S");
    EXPECT_EQ(ArgumentsAfterProgram(L"C:\\PROGRA~1\\Quillon\\moondial.scr /s", path), L"/s");
    EXPECT_EQ(ArgumentsAfterProgram(L"\"unterminated /s", path), L"");
    EXPECT_EQ(ArgumentsAfterProgram(L"", path), L"");
}

} // namespace
