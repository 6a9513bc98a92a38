#include "ui/Convert.h"

#include "ui/Error.h"

#include <gtest/gtest.h>

namespace {

std::int32_t FailureNumber(void (*convert)(const char*), const char* text) {
    try {
        convert(text);
    } catch (const ui::Error& e) {
        return e.Number;
    }
    return 0;
}

void Int32(const char* text) {
    ui::ToInt32(text);
}
void Boolean(const char* text) {
    ui::ToBoolean(text);
}

TEST(ToInt32, AcceptsBlanksSignAndDigits) {
    EXPECT_EQ(ui::ToInt32("1"), 1);
    EXPECT_EQ(ui::ToInt32("  42  "), 42);
    EXPECT_EQ(ui::ToInt32("-7"), -7);
    EXPECT_EQ(ui::ToInt32("+3"), 3);
    EXPECT_EQ(ui::ToInt32(" -0012 "), -12);
    EXPECT_EQ(ui::ToInt32("2147483647"), 2147483647);
    EXPECT_EQ(ui::ToInt32("-2147483648"), INT32_MIN);
}

TEST(ToInt32, AnythingElseIsATypeMismatch) {
    for (const char* text :
         {"", " ", "abc", "1.5", "1e3", "0x10", "12a", "+", "-", "- 1", "1 2", "\t1", "1,000", "٣"})
        EXPECT_EQ(FailureNumber(Int32, text), ui::errors::TypeMismatch) << '"' << text << '"';
}

TEST(ToInt32, OutOfRangeIsAnOverflow) {
    for (const char* text : {"2147483648", "-2147483649", "99999999999", " 4294967296 "})
        EXPECT_EQ(FailureNumber(Int32, text), ui::errors::Overflow) << text;
    const std::string huge(400, '9');
    EXPECT_EQ(FailureNumber(Int32, huge.c_str()), ui::errors::Overflow);
    // Bad text is a mismatch however large its number part.
    EXPECT_EQ(FailureNumber(Int32, (huge + "x").c_str()), ui::errors::TypeMismatch);
}

TEST(ToInt32, FailuresCarryADescription) {
    try {
        ui::ToInt32("abc");
        FAIL();
    } catch (const ui::Error& e) {
        EXPECT_EQ(e.Description, "Type mismatch");
        EXPECT_EQ(e.Source, "Moondial");
    }
}

TEST(ToBoolean, TrueAndFalseInAnyCase) {
    EXPECT_TRUE(ui::ToBoolean("True"));
    EXPECT_TRUE(ui::ToBoolean("TRUE"));
    EXPECT_FALSE(ui::ToBoolean("False"));
    EXPECT_FALSE(ui::ToBoolean("fAlSe"));
    for (const char* text : {"", "1", "0", "yes", " True", "Truth", "Fals"})
        EXPECT_EQ(FailureNumber(Boolean, text), ui::errors::TypeMismatch) << '"' << text << '"';
}

TEST(TextHelpers, TrimAndLowerCase) {
    EXPECT_EQ(ui::TrimBlanks("  C:\\My Pictures\\a b.jpg  "), "C:\\My Pictures\\a b.jpg");
    EXPECT_EQ(ui::TrimBlanks("   "), "");
    EXPECT_EQ(ui::ToLowerAscii("/S:ÄB"), "/s:Äb");
    EXPECT_EQ(ui::ToText(std::int64_t{-5}), "-5");
}

} // namespace
